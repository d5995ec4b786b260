#pragma once
// A live view of the lights for the simulated driver and the monitor: one bar per display,
// GPU and light, redrawn in place on a terminal (plain lines otherwise), and optionally every
// change with a timestamp in a CSV file. Configured from the environment:
//   GLOWMETER_VIEW=1        show the bars on standard output
//   GLOWMETER_CSV=<path>    append "time_ms,display,gpu,attribute,level" lines to the file

// Reports that a light changed. Cheap when neither output is configured.
void LightView_Changed(unsigned display, unsigned gpu, int attribute, unsigned level);
