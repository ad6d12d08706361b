#pragma once

#include "device/FirmwareImage.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** What the benchmarks send: the commands of a transfer, made once, beforehand. */
struct TransferMessages
{
    /** The commands of a whole transfer of this image, in the order the device link sends them. */
    static std::vector<juce::MidiMessage> forImage (const FirmwareImage& image);

    /** An image of the first `numBlocks` blocks of the built-in payload, or all of it if it has fewer. */
    static FirmwareImage firstBlocks (int numBlocks);
};
