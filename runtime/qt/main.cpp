#include "start.h"

// The command line is not read: the program takes all its input from its window.
int main() { return RunProgram(); }
