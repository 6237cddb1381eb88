// Entry point: hands over to the shell's start-up.
int QS_WinMain(int argc, char** argv);
int main(int argc, char** argv) { return QS_WinMain(argc, argv); }
