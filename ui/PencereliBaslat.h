#pragma once

// The windowed mode: creates the application and the main window and runs the
// message loop until the main window closes. Returns the process exit code.
int PencereliBaslat(int& argc, char** argv);
