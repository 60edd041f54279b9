// The MIDI tests' helpers (JACK test server, processes, byte formatting), shared with these tests.
#include "../midi/JackTestServer.cpp"
#include "../midi/MidiTestSupport.cpp"
// The window tests' helpers: X display checks, screenshots and simulated clicks.
#include "../dialogs/DialogTestSupport.cpp"
