#include "midi/windows/WindowsMidiPorts.h"

namespace
{
/** The devices whose capabilities winmm gives, in winmm's order; one it cannot describe is left out, as JUCE does. */
template <typename Caps, typename Device, typename GetCaps>
juce::Array<Device> listDevices (UINT numDevices, GetCaps getCaps)
{
    juce::Array<Device> devices;

    for (UINT id = 0; id < numDevices; ++id)
    {
        Caps caps {};

        if (getCaps (id, caps) == MMSYSERR_NOERROR)
            devices.add ({ id, juce::String (caps.szPname, (size_t) MAXPNAMELEN) });
    }

    return devices;
}
} // namespace

WindowsMidiPorts::WindowsMidiPorts (WinmmApi& apiToUse, int inputLimitMsToUse, DWORD outputLimitMsToUse)
    : api (apiToUse)
    , inputLimitMs (inputLimitMsToUse)
    , outputLimitMs (outputLimitMsToUse)
{
}

int WindowsMidiPorts::getNumInputs()
{
    return listInputs().size();
}

int WindowsMidiPorts::getNumOutputs()
{
    return listOutputs().size();
}

std::unique_ptr<MidiInputPort> WindowsMidiPorts::openInput (int index, MidiPortListener& listener)
{
    const auto devices = listInputs();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    auto port = std::make_unique<WindowsMidiInput> (api, listener, inputLimitMs);

    if (! port->open (devices.getReference (index).id))
        return {};

    return port;
}

std::unique_ptr<MidiOutputPort> WindowsMidiPorts::openOutput (int index)
{
    const auto devices = listOutputs();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    auto port = std::make_unique<WindowsMidiOutput> (api, outputLimitMs);

    if (! port->open (devices.getReference (index).id))
        return {};

    return port;
}

juce::StringArray WindowsMidiPorts::getInputNames()
{
    return getNames (listInputs());
}

juce::StringArray WindowsMidiPorts::getOutputNames()
{
    return getNames (listOutputs());
}

juce::Array<WindowsMidiPorts::Device> WindowsMidiPorts::listInputs()
{
    return listDevices<MIDIINCAPSW, Device> (api.inGetNumDevs(), [this] (UINT id, MIDIINCAPSW& caps)
                                             { return api.inGetDevCaps (id, caps); });
}

juce::Array<WindowsMidiPorts::Device> WindowsMidiPorts::listOutputs()
{
    return listDevices<MIDIOUTCAPSW, Device> (api.outGetNumDevs(), [this] (UINT id, MIDIOUTCAPSW& caps)
                                              { return api.outGetDevCaps (id, caps); });
}

juce::StringArray WindowsMidiPorts::getNames (const juce::Array<Device>& devices)
{
    juce::StringArray names;

    for (const auto& device : devices)
        names.add (device.name);

    names.appendNumbersToDuplicates (false, false, juce::CharPointer_UTF8 ("-"), juce::CharPointer_UTF8 (""));
    return names;
}
