#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <vector>

// One shared object of type T, made with new T on first use. The shared objects of
// the librarian also derive from juce::DeletedAtShutdown, so they go away after the
// message loop ends, the most recently made first.
template <class T>
class Singleton
{
public:
    static T& instance()
    {
        if (object == nullptr)
        {
            object = new T();
            base = object;
        }
        return *object;
    }

    static bool exists() noexcept { return object != nullptr; }

protected:
    Singleton() = default;
    virtual ~Singleton()
    {
        if (base == this)
        {
            object = nullptr;
            base = nullptr;
        }
    }

private:
    static inline T* object = nullptr;
    static inline Singleton* base = nullptr;
};

// An ordered list of observers, called in registration order.
template <class T>
class ListenerHolder
{
public:
    virtual ~ListenerHolder() = default;

    void addListener (T* listener)
    {
        if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
            listeners.push_back (listener);
    }

    void removeListener (T* listener)
    {
        listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
    }

    int getNumListeners() const noexcept { return (int) listeners.size(); }

protected:
    // Calls f on every observer; an observer that removes itself (or another) during the
    // walk is not called afterwards.
    template <class Function>
    void callListeners (Function&& f)
    {
        const auto snapshot = listeners;
        for (auto* listener : snapshot)
            if (std::find (listeners.begin(), listeners.end(), listener) != listeners.end())
                f (*listener);
    }

private:
    std::vector<T*> listeners;
};
