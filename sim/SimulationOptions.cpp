#include "sim/SimulationOptions.h"

namespace
{
/** Parses a whole decimal number within the limits, or nothing. */
std::optional<int> parseNumber (const juce::String& text, int minimum, int maximum)
{
    const auto trimmed = text.trim();

    if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789") || trimmed.length() > 9)
        return {};

    const auto value = trimmed.getIntValue();

    if (value < minimum || value > maximum)
        return {};

    return value;
}

/** Whether the text is well-formed UTF-8: no stray or missing continuation bytes, overlong forms or surrogates, nothing
 * past U+10FFFF. */
bool isWellFormedUtf8 (const std::string& text)
{
    for (size_t i = 0; i < text.size();)
    {
        const auto lead = (unsigned char) text[i];
        const size_t length = lead < 0x80                    ? 1
                              : lead >= 0xc2 && lead <= 0xdf ? 2
                              : lead >= 0xe0 && lead <= 0xef ? 3
                              : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                             : 0;

        if (length == 0 || i + length > text.size())
            return false;

        for (size_t k = 1; k < length; ++k)
            if (((unsigned char) text[i + k] & 0xc0) != 0x80)
                return false;

        const auto second = length > 1 ? (unsigned char) text[i + 1] : 0x80;

        if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second > 0x9f) || (lead == 0xf0 && second < 0x90) ||
            (lead == 0xf4 && second > 0x8f))
            return false;

        i += length;
    }

    return true;
}

juce::String applyFault (DeviceFaults& faults, const juce::String& fault)
{
    const auto name = fault.upToFirstOccurrenceOf ("=", false, false);
    const auto value = fault.fromFirstOccurrenceOf ("=", false, false);
    const auto needsNumber = name == "silent-at-block" || name == "silent-after" || name == "silent-first";

    if (needsNumber != fault.contains ("="))
        return "--fault " + fault + ": " + (needsNumber ? "needs a number, as in " + name + "=10" : "takes no value");

    if (needsNumber)
    {
        const auto number = parseNumber (value, 0, 1000000);

        if (! number.has_value())
            return "--fault " + fault + ": the number must be a whole number from 0 to 1000000";

        (name == "silent-at-block" ? faults.silentAtBlock
         : name == "silent-after"  ? faults.silentAfter
                                   : faults.silentFirst) = *number;
        return {};
    }

    const std::pair<const char*, bool DeviceFaults::*> flags[] = {
        { "refuse-start", &DeviceFaults::refuseStart },
        { "ignore-block-address", &DeviceFaults::ignoreBlockAddress },
        { "wrong-ack", &DeviceFaults::wrongAck },
        { "short-ack", &DeviceFaults::shortAck },
        { "no-query-reply", &DeviceFaults::noQueryReply },
        { "noise-after-reply", &DeviceFaults::noiseAfterReply },
        { "stray-message", &DeviceFaults::strayMessage },
        { "late-reply", &DeviceFaults::lateReply },
    };

    for (const auto& [flagName, member] : flags)
    {
        if (name == flagName)
        {
            faults.*member = true;
            return {};
        }
    }

    return "--fault " + fault + ": unknown fault (see --help)";
}
} // namespace

juce::String SimulationOptions::parse (juce::StringArray& arguments)
{
    for (int i = 0; i < arguments.size();)
    {
        const auto option = arguments[i];
        const auto takesValue = option == "--inputs" || option == "--outputs" || option == "--device-at" ||
                                option == "--latency-us" || option == "--fault";

        if (option == "--no-device")
        {
            withDevice = false;
            arguments.remove (i);
            continue;
        }

        if (! takesValue)
        {
            ++i;
            continue;
        }

        if (i + 1 >= arguments.size())
            return option + " needs a value";

        const auto value = arguments[i + 1];
        arguments.removeRange (i, 2);

        if (option == "--inputs" || option == "--outputs")
        {
            const auto number = parseNumber (value, 0, 64);

            if (! number.has_value())
                return option + " " + value + ": give a whole number of ports from 0 to 64";

            (option == "--inputs" ? numInputs : numOutputs) = *number;
        }
        else if (option == "--device-at")
        {
            const auto input = parseNumber (value.upToFirstOccurrenceOf (",", false, false), 0, 63);
            const auto output = parseNumber (value.fromFirstOccurrenceOf (",", false, false), 0, 63);

            if (! value.contains (",") || ! input.has_value() || ! output.has_value())
                return "--device-at " + value + ": give the input and output index as I,J, e.g. 1,2";

            deviceInput = *input;
            deviceOutput = *output;
        }
        else if (option == "--latency-us")
        {
            latencyMicroseconds = parseNumber (value, 0, 10000000);

            if (! latencyMicroseconds.has_value())
                return "--latency-us " + value + ": give a whole number of microseconds from 0 to 10000000";
        }
        else
        {
            const auto error = applyFault (faults, value);

            if (error.isNotEmpty())
                return error;
        }
    }

    if (withDevice && (deviceInput >= numInputs || deviceOutput >= numOutputs))
        return "--device-at " + juce::String (deviceInput) + "," + juce::String (deviceOutput) + ": there are only " +
               juce::String (numInputs) + " inputs and " + juce::String (numOutputs) + " outputs";

    return {};
}

juce::StringArray SimulationOptions::getArguments (int argc, const char* const* argv)
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
    {
        // JUCE 7.0.5 builds a String from ill-formed UTF-8 without room for its
        // terminator (its own check lets some such text through), so every
        // later read runs past its end. Such an argument is taken with each
        // non-ASCII byte as '?': still reported as bad, safely.
        std::string text (argv[i]);

        if (isWellFormedUtf8 (text))
        {
            arguments.add (juce::CharPointer_UTF8 (text.c_str()));
            continue;
        }

        std::replace_if (
            text.begin(), text.end(), [] (char c) { return (unsigned char) c >= 0x80; }, '?');
        arguments.add (text.c_str());
    }

    return arguments;
}

juce::String SimulationOptions::getHelp()
{
    return "  --inputs N            number of virtual MIDI inputs (default 1)\n"
           "  --outputs M           number of virtual MIDI outputs (default 1)\n"
           "  --device-at I,J       the device answers on input I and listens on output J (default 0,0)\n"
           "  --no-device           no device on any port\n"
           "  --latency-us U        the device answers each command after U microseconds\n"
           "  --fault F             make the device misbehave; repeatable. F is one of:\n"
           "                          refuse-start, silent-at-block=B, silent-after=N, silent-first=N,\n"
           "                          ignore-block-address, wrong-ack, short-ack, no-query-reply,\n"
           "                          noise-after-reply, stray-message, late-reply\n";
}
