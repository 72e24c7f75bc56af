#include "platform/ui/windows.h"

int main(int argc, char** argv) { return RunWinMain(argc, argv, WinMain); }
