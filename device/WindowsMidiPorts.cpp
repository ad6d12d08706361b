#include "device/WindowsMidiPorts.h"

#include "device/WindowsMidiInput.h"
#include "device/WindowsMidiOutput.h"

WindowsMidiPorts::WindowsMidiPorts (WinmmApi& apiToUse)
    : api (apiToUse)
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

    auto port = std::make_unique<WindowsMidiInput> (api, listener);

    if (! port->open (devices.getReference (index).id))
        return {};

    return port;
}

std::unique_ptr<MidiOutputPort> WindowsMidiPorts::openOutput (int index)
{
    const auto devices = listOutputs();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    auto port = std::make_unique<WindowsMidiOutput> (api);

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
    juce::Array<Device> devices;

    for (UINT id = 0, num = api.inGetNumDevs(); id < num; ++id)
    {
        MIDIINCAPSW caps {};

        if (api.inGetDevCaps (id, caps) == MMSYSERR_NOERROR)
            devices.add ({ id, juce::String (caps.szPname, (size_t) MAXPNAMELEN) });
    }

    return devices;
}

juce::Array<WindowsMidiPorts::Device> WindowsMidiPorts::listOutputs()
{
    juce::Array<Device> devices;

    for (UINT id = 0, num = api.outGetNumDevs(); id < num; ++id)
    {
        MIDIOUTCAPSW caps {};

        if (api.outGetDevCaps (id, caps) == MMSYSERR_NOERROR)
            devices.add ({ id, juce::String (caps.szPname, (size_t) MAXPNAMELEN) });
    }

    return devices;
}

juce::StringArray WindowsMidiPorts::getNames (const juce::Array<Device>& devices)
{
    juce::StringArray names;

    for (const auto& device : devices)
        names.add (device.name);

    names.appendNumbersToDuplicates (false, false, juce::CharPointer_UTF8 ("-"), juce::CharPointer_UTF8 (""));
    return names;
}
