#pragma once
// The inspection commands: they read the demo in the current directory, print, and return the
// program's exit code. Nothing here opens a window or plays sound.

#include <ostream>
#include <string>

namespace orvane {

// Prints the tree of a document file. 0, or 1 when the file cannot be read.
int RunDumpDocument(const std::string& file, std::ostream& out, std::ostream& err);

// Loads "demo.opr" and prints its graph. 0, or 1 when the document cannot be read.
int RunDumpGraph(std::ostream& out, std::ostream& err);

// Loads "demo.opr", runs the load-time pass and prints the float or text result of output `port`
// of operator `operatorIndex` at `time`. 0; 1 when the document cannot be read; 2 when there is no
// such output or it is not a float or text.
int RunEval(int operatorIndex, const std::string& port, float time, std::ostream& out, std::ostream& err);

// Reports, one line each, what the player would silently skip. 0 when clean, 1 otherwise.
int RunCheck(std::ostream& out);

// Prints every registered operator type with its description and ports, in registry name order,
// as text or as JSON. Needs no document. 0.
int RunOperators(bool json, std::ostream& out);

}  // namespace orvane
