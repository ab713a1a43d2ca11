#pragma once

// Installs the accessible interfaces of the program's own making, which
// screen readers and tools that find controls by name read through the
// desktop's accessibility bridge: the form is announced as a window under
// its caption, and the sex combo keeps its label's name whatever it holds
// (the toolkit names an editable combo by its text on Linux). Installing
// them again changes nothing.
void InstallFormAccessibility();
