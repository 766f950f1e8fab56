#pragma once

namespace kurubako {

// Runs the program with the system's own services until its main window closes.
int runApplication(int &argc, char **argv);

} // namespace kurubako
