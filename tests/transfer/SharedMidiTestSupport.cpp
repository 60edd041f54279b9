// The MIDI tests' helpers (JACK test server, processes, byte formatting), shared with these tests.
#include "../midi/JackTestServer.cpp"
#include "../midi/MidiTestSupport.cpp"
