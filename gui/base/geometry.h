// For end-to-end scripts that drive the program with mouse and keys: where each named
// control is on the screen, and what the text boxes and message boxes say, written to a file
// while ZORVANE_GEOMETRY_FILE names one.
#pragma once

namespace zv {

void StartGeometryReport();

} // namespace zv
