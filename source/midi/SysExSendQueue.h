#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace midi
{
// System Exclusive blocks sent one after another on a thread of their own, so that the
// caller never waits for the system; each block's completion runs on that thread once
// the send function has returned.
class SysExSendQueue
{
public:
    using SendFunction = std::function<void (const std::vector<std::uint8_t>& bytes)>;

    explicit SysExSendQueue (SendFunction sendFunction);
    ~SysExSendQueue();

    // False once the queue has stopped.
    bool push (std::vector<std::uint8_t> bytes, std::function<void()> onComplete);
    // Sends what is queued, then ends the thread. Later pushes are refused.
    void stop();

private:
    struct Request
    {
        std::vector<std::uint8_t> bytes;
        std::function<void()> onComplete;
    };

    void run();

    SendFunction send;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request> pending;
    bool stopping = false;
    std::thread thread;
};
} // namespace midi
