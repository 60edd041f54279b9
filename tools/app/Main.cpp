#include <juce_gui_basics/juce_gui_basics.h>
int main (int, char**) { return 0; }
