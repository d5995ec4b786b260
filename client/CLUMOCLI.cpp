#include "client/CLUMOCLI.h"

CLUMOCLI g_Client;

CLUMOCLI::CLUMOCLI() : wsaData(), service(), reply(), addressLength(16), sock(0), pauseModulus(5) {
    lock.Create("NONAME");
}
CLUMOCLI::~CLUMOCLI() { lock.Destroy(); }
int CLUMOCLI::Open() { return -1; }
int CLUMOCLI::SetIllumination(int, int, int, int) { return 0; }
void CLUMOCLI::Close() {}

bool OpenDiagnosticPath() { return false; }
