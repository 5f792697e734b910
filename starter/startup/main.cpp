// Entry point of ldstarter. Start-up grows here step by step; for now it
// links the core library and the Windows layer.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
