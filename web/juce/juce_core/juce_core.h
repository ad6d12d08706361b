#pragma once

// The few pieces of juce_core that device/ uses, for the WebAssembly build of
// the web page. JUCE 7.0.5's juce_core does not build with Debian's
// Emscripten (its thread-priority table has no WebAssembly entry, its
// WebAssembly clock lacks an include, and Debian leaves out the zlib it
// needs), so the page compiles device/ against these instead. Each keeps the
// name, signature and meaning of JUCE's own.

#include <emscripten.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <string>

#define JUCE_WASM 1

#define jassert(expression) assert (expression)

#define JUCE_DECLARE_NON_COPYABLE(className)                                                                           \
    className (const className&) = delete;                                                                             \
    className& operator= (const className&) = delete;

#define JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(className) JUCE_DECLARE_NON_COPYABLE (className)

namespace juce
{
using uint8 = std::uint8_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;

/** The larger of two values. */
template <typename Type>
constexpr Type jmax (Type a, Type b)
{
    return std::max (a, b);
}

/** The value kept within lowest and highest. */
template <typename Type>
constexpr Type jlimit (Type lowest, Type highest, Type value)
{
    return value < lowest ? lowest : (highest < value ? highest : value);
}

/** A text; device/ only builds texts and joins them. */
class String
{
public:
    String() = default;

    /** A text from a zero-terminated string. */
    String (const char* text)
        : text (text)
    {
    }

    /** The decimal form of a number. */
    explicit String (int64 number)
        : text (std::to_string (number))
    {
    }

    /** The decimal form of a number. */
    explicit String (int number)
        : text (std::to_string (number))
    {
    }

    /** The two texts one after the other. */
    friend String operator+ (String a, const String& b)
    {
        a.text += b.text;
        return a;
    }

private:
    std::string text;
};

/** The byte-order helpers; WebAssembly is little-endian. */
struct ByteOrder
{
    /** Reads a little-endian 32-bit word. */
    static uint32 littleEndianInt (const void* bytes) noexcept
    {
        const auto* b = static_cast<const uint8*> (bytes);
        return (uint32) b[0] | ((uint32) b[1] << 8) | ((uint32) b[2] << 16) | ((uint32) b[3] << 24);
    }

    /** Converts between this machine's order and big-endian order. */
    static constexpr uint32 swapIfBigEndian (uint32 value) noexcept
    {
        return value;
    }
};

/** The clock. */
struct Time
{
    /** Milliseconds since an arbitrary start, wrapping around as an unsigned 32-bit count. */
    static uint32 getMillisecondCounter() noexcept
    {
        return (uint32) (int64) emscripten_get_now();
    }
};

/**
    The part of a thread that the transfer looks at: its exit request. A web
    page runs the transfer on its one main thread, so nothing here starts a
    thread; whoever runs the transfer raises the request.
*/
class Thread
{
public:
    virtual ~Thread() = default;

    /** Asks the transfer to end at its next look. */
    void signalThreadShouldExit() noexcept
    {
        shouldExit = true;
    }

    /** True once an exit has been asked for. */
    bool threadShouldExit() const noexcept
    {
        return shouldExit;
    }

private:
    bool shouldExit = false;
};
} // namespace juce
