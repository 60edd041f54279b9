#include "midi/SysExSendQueue.h"

namespace midi
{
SysExSendQueue::SysExSendQueue (SendFunction sendFunction)
    : send (std::move (sendFunction)), thread ([this] { run(); })
{
}

SysExSendQueue::~SysExSendQueue()
{
    stop();
}

bool SysExSendQueue::push (std::vector<std::uint8_t> bytes, std::function<void()> onComplete)
{
    {
        std::lock_guard<std::mutex> guard (mutex);
        if (stopping)
            return false;
        pending.push_back ({ std::move (bytes), std::move (onComplete) });
    }
    changed.notify_all();
    return true;
}

void SysExSendQueue::stop()
{
    {
        std::lock_guard<std::mutex> guard (mutex);
        stopping = true;
    }
    changed.notify_all();
    if (thread.joinable())
        thread.join();
}

void SysExSendQueue::run()
{
    for (;;)
    {
        Request request;
        {
            std::unique_lock<std::mutex> lock (mutex);
            changed.wait (lock, [this] { return stopping || ! pending.empty(); });
            if (pending.empty())
                return;
            request = std::move (pending.front());
            pending.pop_front();
        }
        send (request.bytes);
        if (request.onComplete)
            request.onComplete();
    }
}
} // namespace midi
