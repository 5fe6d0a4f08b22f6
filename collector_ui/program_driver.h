#pragma once

namespace collector_ui {

// Runs a driver of the program's parts by procedure ID; one the program does
// not carry is a trapped run-time error, reported like any other.
void RunProgramDriver(const char* id);

}  // namespace collector_ui
