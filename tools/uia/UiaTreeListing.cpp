#include "UiaTreeListing.h"

#include <uiautomationclient.h>

#include <cstdio>
#include <iterator>

struct UiaTreeListing::Flag
{
    PROPERTYID property;
    const char* name;
};

namespace
{
// Deep enough for any window of ours, and an end should a provider's tree loop.
constexpr int maximumDepth = 8;
constexpr size_t maximumElements = 300;

struct ControlType
{
    long id;
    const char* name;
};

// UI Automation's control type ids (UIAutomationClient.h on Windows; MinGW-w64 leaves them out).
const ControlType controlTypes[] = {
    { 50000, "Button" }, { 50002, "CheckBox" }, { 50004, "Edit" },     { 50006, "Image" },       { 50007, "ListItem" },
    { 50008, "List" },   { 50009, "Menu" },     { 50011, "MenuItem" }, { 50012, "ProgressBar" }, { 50015, "Slider" },
    { 50020, "Text" },   { 50022, "ToolTip" },  { 50025, "Custom" },   { 50026, "Group" },       { 50030, "Document" },
    { 50032, "Window" }, { 50033, "Pane" },     { 50037, "TitleBar" },
};

constexpr long buttonControlType = 50000;

std::string toUtf8 (const wchar_t* text)
{
    if (text == nullptr)
        return {};

    const auto size = WideCharToMultiByte (CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string converted ((size_t) (size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte (CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    return converted;
}

std::string hex (HRESULT result)
{
    char text[16];
    std::snprintf (text, sizeof (text), "0x%08lx", (unsigned long) result);
    return text;
}

std::string controlTypeName (long id)
{
    for (const auto& type : controlTypes)
        if (type.id == id)
            return type.name;

    return "control type " + std::to_string (id);
}
} // namespace

UiaTreeListing::UiaTreeListing (UiaCoreClient& clientToUse, const UiaCoreClient::Node& root,
                                const std::wstring& nameOfButton)
    : client (clientToUse)
    , buttonName (nameOfButton)
{
    addElement (root, 0);
    addChildren (root, 1);
}

void UiaTreeListing::addLine (int depth, const std::string& text)
{
    lines.push_back (std::string ((size_t) depth * 2, ' ') + text);
    std::printf ("    %s\n", lines.back().c_str());
    std::fflush (stdout);
}

void UiaTreeListing::addElement (const UiaCoreClient::Node& node, int depth)
{
    addLine (depth, describe (node));
}

void UiaTreeListing::addChildren (const UiaCoreClient::Node& node, int depth)
{
    if (depth > maximumDepth || client.isStuck())
        return;

    HRESULT result = S_OK;
    auto child = client.navigate (node, NavigateDirection_FirstChild, result);

    while (child != nullptr && lines.size() < maximumElements && ! client.isStuck())
    {
        addElement (child, depth);
        addChildren (child, depth + 1);
        auto next = client.navigate (child, NavigateDirection_NextSibling, result);

        if (button == nullptr && isNamedButton (child))
            button = std::move (child);

        child = std::move (next);
    }

    if (FAILED (result))
        addLine (depth, "(navigating failed: " + hex (result) +
                            (client.getLastFailure().empty() ? "" : ", " + client.getLastFailure()) + ")");
}

bool UiaTreeListing::isNamedButton (const UiaCoreClient::Node& node)
{
    VARIANT type;
    VARIANT name;
    const auto isButton = SUCCEEDED (client.getProperty (node, UIA_ControlTypePropertyId, type)) && type.vt == VT_I4 &&
                          type.lVal == buttonControlType;
    const auto isNamed = SUCCEEDED (client.getProperty (node, UIA_NamePropertyId, name)) && name.vt == VT_BSTR &&
                         buttonName == name.bstrVal;
    VariantClear (&type);
    VariantClear (&name);
    return isButton && isNamed;
}

std::string UiaTreeListing::describe (const UiaCoreClient::Node& node)
{
    static const Flag states[] = {
        { UIA_IsEnabledPropertyId, "enabled" },
        { UIA_IsKeyboardFocusablePropertyId, "focusable" },
        { UIA_HasKeyboardFocusPropertyId, "focused" },
        { UIA_IsOffscreenPropertyId, "offscreen" },
    };
    static const Flag patterns[] = {
        { UIA_IsInvokePatternAvailablePropertyId, "Invoke" },
        { UIA_IsValuePatternAvailablePropertyId, "Value" },
        { UIA_IsRangeValuePatternAvailablePropertyId, "RangeValue" },
        { UIA_IsTextPatternAvailablePropertyId, "Text" },
        { UIA_IsTogglePatternAvailablePropertyId, "Toggle" },
        { UIA_IsWindowPatternAvailablePropertyId, "Window" },
    };

    VARIANT type;
    const auto typeResult = client.getProperty (node, UIA_ControlTypePropertyId, type);
    const auto line = SUCCEEDED (typeResult) && type.vt == VT_I4 ? controlTypeName (type.lVal)
                                                                 : "(control type not read: " + hex (typeResult) + ")";
    VariantClear (&type);

    return line + readText (node, UIA_NamePropertyId, "") +
           readText (node, UIA_FullDescriptionPropertyId, "description") +
           readText (node, UIA_HelpTextPropertyId, "help") + readValue (node) +
           readFlags (node, "states", states, std::size (states)) +
           readFlags (node, "patterns", patterns, std::size (patterns));
}

std::string UiaTreeListing::readText (const UiaCoreClient::Node& node, PROPERTYID property, const char* label)
{
    VARIANT value;
    const auto result = client.getProperty (node, property, value);
    const std::string prefix = *label == 0 ? " " : std::string (", ") + label + " ";
    std::string text;

    if (FAILED (result))
        text = prefix + "not read (" + hex (result) + ")";
    else if (value.vt == VT_BSTR && SysStringLen (value.bstrVal) > 0)
        text = prefix + "\"" + toUtf8 (value.bstrVal) + "\"";
    else if (*label == 0)
        text = prefix + "(no name)";

    VariantClear (&value);
    return text;
}

std::string UiaTreeListing::readValue (const UiaCoreClient::Node& node)
{
    VARIANT value;
    auto result = client.getProperty (node, UIA_ValueValuePropertyId, value);
    std::string text;

    if (SUCCEEDED (result) && value.vt == VT_BSTR)
        text = ", value \"" + toUtf8 (value.bstrVal) + "\"";

    VariantClear (&value);

    if (text.empty() && SUCCEEDED (result = client.getProperty (node, UIA_RangeValueValuePropertyId, value)) &&
        value.vt == VT_R8)
        text = ", value " + std::to_string (value.dblVal);

    VariantClear (&value);
    return text.empty() && FAILED (result) ? ", value not read (" + hex (result) + ")" : text;
}

std::string UiaTreeListing::readFlags (const UiaCoreClient::Node& node, const char* label, const Flag* flags,
                                       size_t count)
{
    std::string set;
    std::string unread;

    for (size_t i = 0; i < count; ++i)
    {
        VARIANT value;
        const auto result = client.getProperty (node, flags[i].property, value);

        if (FAILED (result))
            unread += std::string (" ") + flags[i].name + " (" + hex (result) + ")";
        else if (value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE)
            set += std::string (" ") + flags[i].name;

        VariantClear (&value);
    }

    return std::string ("; ") + label + ":" + (set.empty() ? " none" : set) +
           (unread.empty() ? "" : ", not read:" + unread);
}
