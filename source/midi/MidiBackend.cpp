#include "midi/MidiBackend.h"

#include "midi/RtMidiBackend.h"

namespace midi
{
int MidiBackend::addSetupChangeCallback (std::function<void()> callback)
{
    std::lock_guard<std::mutex> guard (callbackMutex);
    const int id = nextCallbackId++;
    setupChangeCallbacks.emplace_back (id, std::move (callback));
    return id;
}

void MidiBackend::removeSetupChangeCallback (int id)
{
    std::lock_guard<std::mutex> guard (callbackMutex);
    setupChangeCallbacks.erase (std::remove_if (setupChangeCallbacks.begin(), setupChangeCallbacks.end(),
                                                [id] (const auto& entry) { return entry.first == id; }),
                                setupChangeCallbacks.end());
}

bool MidiBackend::hasSetupChangeCallbacks() const
{
    std::lock_guard<std::mutex> guard (callbackMutex);
    return ! setupChangeCallbacks.empty();
}

void MidiBackend::notifySetupChanged()
{
    std::lock_guard<std::mutex> guard (callbackMutex);
    for (auto& entry : setupChangeCallbacks)
        entry.second();
}

namespace
{
    std::mutex& backendMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    std::shared_ptr<MidiBackend>& currentBackend()
    {
        static std::shared_ptr<MidiBackend> backend;
        return backend;
    }
} // namespace

std::shared_ptr<MidiBackend> getMidiBackend()
{
    std::lock_guard<std::mutex> guard (backendMutex());
    if (currentBackend() == nullptr)
        currentBackend() = createSystemMidiBackend();
    return currentBackend();
}

void setMidiBackend (std::shared_ptr<MidiBackend> backend)
{
    std::lock_guard<std::mutex> guard (backendMutex());
    currentBackend() = std::move (backend);
}

std::shared_ptr<MidiBackend> createSystemMidiBackend (const juce::String& api, const juce::String& ownClientName)
{
    auto requested = api.trim().toLowerCase();
    if (requested.isEmpty())
        requested = juce::SystemStats::getEnvironmentVariable ("TARNOMBI_MIDI_API", {}).trim().toLowerCase();

    RtMidiBackend::Api chosen = RtMidiBackend::Api::none;
    if (requested == "alsa")
        chosen = RtMidiBackend::Api::alsa;
    else if (requested == "jack")
        chosen = RtMidiBackend::Api::jack;
    else if (RtMidiBackend::isAlsaSequencerAvailable())
        chosen = RtMidiBackend::Api::alsa;
    else if (RtMidiBackend::isJackServerRunning())
        chosen = RtMidiBackend::Api::jack;

    return std::make_shared<RtMidiBackend> (chosen, ownClientName);
}
} // namespace midi
