#pragma once

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>

namespace x38200_application
{
// Carries the command line of a second launch to the running instance, over a local
// socket in the user's runtime folder. The folder is the user's own (mode 0700) and the
// running instance accepts only connections from processes of the same user.
class SingleInstanceChannel
{
public:
    // Receives each handed-over command line on the message thread.
    using Receiver = std::function<void (const juce::String& commandLine)>;

    SingleInstanceChannel();
    ~SingleInstanceChannel();

    // The socket of this user: $XDG_RUNTIME_DIR/tarnombi-librarian.socket, or a private
    // folder in /tmp when there is no runtime folder.
    static juce::File getSocketFile();

    // Sends the command line to a running instance; true when one took it.
    static bool sendToRunningInstance (const juce::String& commandLine, int timeoutMs = 3000);

    // Claims the socket for this process; false when another live instance owns it or
    // the folder is not safe. Launches that connect from now on wait in the queue.
    bool claim();
    // Starts taking command lines (claiming the socket first if needed); they arrive
    // through the receiver on the message thread.
    bool startListening (Receiver receiver);
    void stopListening();
    bool isListening() const;

private:
    class Listener;
    int serverSocket = -1;
    juce::File socketFile;
    std::unique_ptr<Listener> listener;
};

// The command line of this process as the desktop would hand it over: arguments that
// name existing files are made absolute, and arguments with spaces are quoted.
juce::String makeHandOverCommandLine (const juce::StringArray& arguments, const juce::File& workingDirectory);
} // namespace x38200_application
