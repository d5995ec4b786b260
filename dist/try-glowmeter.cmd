@echo off
rem Plays a track into the Glowmeter plug-in without Winamp and shows the lights it drives
rem as bars: double-click this file for the demo track, drop a WAV file on it for yours, or
rem run it from a command prompt:   try-glowmeter [track.wav]
rem The lights go to NVIDIA's driver, or to the simulated one (see README.txt) on a machine
rem without it. The plug-in reads the settings file vis_glowmeter.ini beside it.
setlocal
set arch=x86
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set arch=x64
if /i "%PROCESSOR_ARCHITEW6432%"=="AMD64" set arch=x64
set track=%~1
if "%track%"=="" set track=%~dp0glowmeter-demo.wav
set GLOWMETER_VIEW=1
"%~dp0%arch%\glowmeter-host.exe" "%track%"
set result=%errorlevel%
rem Started by a double-click, the window would close before the last lines could be read.
echo %cmdcmdline% | find /i "%~0" >nul && pause
exit /b %result%
