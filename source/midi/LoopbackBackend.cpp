#include "midi/LoopbackBackend.h"

namespace midi
{
class LoopbackBackend::Input : public MidiInputConnection
{
public:
    Input (LoopbackBackend& b, int s, int i) : backend (b), source (s), id (i) {}
    ~Input() override
    {
        std::lock_guard<std::recursive_mutex> guard (backend.mutex);
        for (auto it = backend.openInputs.begin(); it != backend.openInputs.end(); ++it)
        {
            if (it->second.first == id)
            {
                backend.openInputs.erase (it);
                break;
            }
        }
        backend.virtualDestinations.erase (virtualDestination);
    }

    LoopbackBackend& backend;
    int source;
    int id;
    int virtualDestination = -1;
};

class LoopbackBackend::Output : public MidiOutputConnection
{
public:
    Output (LoopbackBackend& b, int d, int i) : backend (b), destination (d), id (i) {}
    ~Output() override
    {
        std::lock_guard<std::recursive_mutex> guard (backend.mutex);
        for (auto it = backend.openOutputs.begin(); it != backend.openOutputs.end(); ++it)
        {
            if (it->second == id)
            {
                backend.openOutputs.erase (it);
                break;
            }
        }
    }

    bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) override
    {
        backend.sent (destination, bytes);
        if (onComplete)
            onComplete();
        return true;
    }

    bool sendShort (const std::uint8_t* bytes, int count) override
    {
        if (count <= 0)
            return false;
        backend.sent (destination, std::vector<std::uint8_t> (bytes, bytes + count));
        return true;
    }

    LoopbackBackend& backend;
    int destination;
    int id;
};

int LoopbackBackend::addSource (const juce::String& device, const juce::String& port)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    sources.push_back ({ { device, port }, false });
    return (int) sources.size() - 1;
}

int LoopbackBackend::addDestination (const juce::String& device, const juce::String& port)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    destinations.push_back ({ { device, port }, false });
    return (int) destinations.size() - 1;
}

void LoopbackBackend::removeAllPorts()
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    sources.clear();
    destinations.clear();
}

void LoopbackBackend::setDestinationHandler (DestinationHandler newHandler)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    handler = std::move (newHandler);
}

void LoopbackBackend::setDestinationFails (int index, bool fails)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    if (index >= 0 && index < (int) destinations.size())
        destinations[(size_t) index].fails = fails;
}

void LoopbackBackend::setSourceFails (int index, bool fails)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    if (index >= 0 && index < (int) sources.size())
        sources[(size_t) index].fails = fails;
}

bool LoopbackBackend::deliver (int sourceIndex, const std::vector<std::uint8_t>& packet)
{
    std::vector<MidiPacketCallback> callbacks;
    {
        std::lock_guard<std::recursive_mutex> guard (mutex);
        const auto range = openInputs.equal_range (sourceIndex);
        for (auto it = range.first; it != range.second; ++it)
            callbacks.push_back (it->second.second);
    }
    for (auto& callback : callbacks)
        callback (packet.data(), (int) packet.size());
    return ! callbacks.empty();
}

bool LoopbackBackend::isSourceOpen (int index) const
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    return openInputs.count (index) > 0;
}

bool LoopbackBackend::isDestinationOpen (int index) const
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    return openOutputs.count (index) > 0;
}

int LoopbackBackend::getNumOpenSources() const
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    return (int) openInputs.size();
}

int LoopbackBackend::getNumOpenDestinations() const
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    return (int) openOutputs.size();
}

std::vector<std::vector<std::uint8_t>> LoopbackBackend::getSent (int destinationIndex) const
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    const auto it = sentBlocks.find (destinationIndex);
    return it != sentBlocks.end() ? it->second : std::vector<std::vector<std::uint8_t>> {};
}

void LoopbackBackend::clearSent()
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    sentBlocks.clear();
}

void LoopbackBackend::sent (int destinationIndex, const std::vector<std::uint8_t>& bytes)
{
    DestinationHandler handlerCopy;
    MidiPacketCallback virtualCallback;
    {
        std::lock_guard<std::recursive_mutex> guard (mutex);
        sentBlocks[destinationIndex].push_back (bytes);
        handlerCopy = handler;
        const auto it = virtualDestinations.find (destinationIndex);
        if (it != virtualDestinations.end())
            virtualCallback = it->second;
    }
    if (virtualCallback)
        virtualCallback (bytes.data(), (int) bytes.size());
    if (handlerCopy)
        handlerCopy (destinationIndex, bytes);
}

std::vector<MidiEndpointName> LoopbackBackend::getSources()
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    std::vector<MidiEndpointName> names;
    for (auto& source : sources)
        names.push_back (source.name);
    return names;
}

std::vector<MidiEndpointName> LoopbackBackend::getDestinations()
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    std::vector<MidiEndpointName> names;
    for (auto& destination : destinations)
        names.push_back (destination.name);
    return names;
}

std::unique_ptr<MidiInputConnection> LoopbackBackend::openSource (int index, const juce::String&, MidiPacketCallback callback)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    if (index < 0 || index >= (int) sources.size() || sources[(size_t) index].fails)
        return {};
    const int id = nextId++;
    openInputs.emplace (index, std::make_pair (id, std::move (callback)));
    return std::make_unique<Input> (*this, index, id);
}

std::unique_ptr<MidiOutputConnection> LoopbackBackend::openDestination (int index, const juce::String&)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    if (index < 0 || index >= (int) destinations.size() || destinations[(size_t) index].fails)
        return {};
    const int id = nextId++;
    openOutputs.emplace (index, id);
    return std::make_unique<Output> (*this, index, id);
}

std::unique_ptr<MidiInputConnection> LoopbackBackend::createVirtualDestination (const juce::String& clientName,
                                                                                const juce::String& portName,
                                                                                MidiPacketCallback callback)
{
    std::lock_guard<std::recursive_mutex> guard (mutex);
    const int index = addDestination (clientName, portName);
    virtualDestinations[index] = std::move (callback);
    auto input = std::make_unique<Input> (*this, -1, nextId++);
    input->virtualDestination = index;
    return input;
}

std::unique_ptr<MidiOutputConnection> LoopbackBackend::createVirtualSource (const juce::String& clientName,
                                                                            const juce::String& portName)
{
    // What the emulator sends on its own source arrives at whoever opened that source.
    class VirtualSource : public MidiOutputConnection
    {
    public:
        VirtualSource (LoopbackBackend& b, int s) : backend (b), source (s) {}
        bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) override
        {
            backend.deliver (source, bytes);
            if (onComplete)
                onComplete();
            return true;
        }
        bool sendShort (const std::uint8_t* bytes, int count) override
        {
            return count > 0 && backend.deliver (source, std::vector<std::uint8_t> (bytes, bytes + count));
        }
        LoopbackBackend& backend;
        int source;
    };
    const int index = addSource (clientName, portName);
    return std::make_unique<VirtualSource> (*this, index);
}
} // namespace midi
