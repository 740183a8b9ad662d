#include <windows.h>

// Placeholder until the Windows front end lands: starts and ends at once.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
