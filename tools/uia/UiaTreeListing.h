// What a UI Automation client reads of a window: one line for each element of
// its tree (control type, name, description, help text, value, states,
// patterns), indented by depth, with what could not be read said in place of
// the value.

#pragma once

#include "UiaCoreClient.h"

#include <string>
#include <vector>

class UiaTreeListing
{
public:
    /** Reads the tree under the root, remembering the first button named as given, and
        prints each line as soon as it is read (a provider may hang the client midway).
    */
    UiaTreeListing (UiaCoreClient& client, const UiaCoreClient::Node& root, const std::wstring& buttonName);

    /** One line for each element, or for a step that failed. */
    const std::vector<std::string>& getLines() const
    {
        return lines;
    }

    /** The button named as given, or null when the tree has none. */
    const UiaCoreClient::Node& getButton() const
    {
        return button;
    }

private:
    struct Flag;

    void addLine (int depth, const std::string& text);
    void addElement (const UiaCoreClient::Node& node, int depth);
    void addChildren (const UiaCoreClient::Node& node, int depth);
    bool isNamedButton (const UiaCoreClient::Node& node);
    std::string describe (const UiaCoreClient::Node& node);
    std::string readText (const UiaCoreClient::Node& node, PROPERTYID property, const char* label);
    std::string readValue (const UiaCoreClient::Node& node);
    std::string readFlags (const UiaCoreClient::Node& node, const char* label, const Flag* flags, size_t count);

    UiaCoreClient& client;
    std::wstring buttonName;
    UiaCoreClient::Node button;
    std::vector<std::string> lines;
};
