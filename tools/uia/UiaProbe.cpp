// vt5150-uia-probe: what a screen reader could read of a window through UI
// Automation, and whether it could press a button there. Usage:
//
//     vt5150-uia-probe <window title> [<button name>, Next by default]
//
// It asks COM for UI Automation's client object (CUIAutomation, as screen
// readers do) and says whether it exists; it finds the top-level window with
// that title, lists its element tree through uiautomationcore.dll's core API
// (control type, name, description, help text, value, states, patterns),
// presses the named button through its Invoke pattern, and lists the tree
// again. Whatever a step cannot do is printed, with the error, and the probe
// goes on where it can; a call that never returns is left behind after 5 s.
// Exit status: 0 when the button was pressed and the tree changed, 1 when no
// tree could be read, 2 when the tree was read but the button could not be
// pressed, 3 when it was pressed and the tree stayed the same.

#include "GuardedCall.h"
#include "UiaTreeListing.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace
{
// UI Automation's COM client object, which MinGW-w64's headers leave out.
const CLSID cuiAutomation = { 0xff48dba4, 0x60ef, 0x4201, { 0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e } };

constexpr int secondsToFindWindow = 20;
constexpr DWORD comTimeoutMilliseconds = 10000;
constexpr DWORD millisecondsForPageChange = 1500;

void reportComClient()
{
    auto result = std::make_shared<HRESULT> (E_FAIL);
    GuardedCall guard;
    const auto returned = guard.run (
        [result]
        {
            IUnknown* automation = nullptr;
            *result = CoCreateInstance (cuiAutomation, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**> (&automation));
            if (automation != nullptr)
                automation->Release();
        },
        comTimeoutMilliseconds);

    if (! returned)
        std::printf ("COM client CoCreateInstance (CLSID_CUIAutomation): %s\n", guard.getFailure().c_str());
    else if (SUCCEEDED (*result))
        std::printf ("COM client CoCreateInstance (CLSID_CUIAutomation): created\n");
    else
        std::printf ("COM client CoCreateInstance (CLSID_CUIAutomation): failed (0x%08lx%s)\n", (unsigned long) *result,
                     *result == REGDB_E_CLASSNOTREG ? ", class not registered" : "");
}

HWND findWindow (const std::wstring& title)
{
    for (int tenths = 0; tenths < secondsToFindWindow * 10; ++tenths)
    {
        if (auto* window = FindWindowW (nullptr, title.c_str()))
            return window;

        Sleep (100);
    }

    return nullptr;
}

int probe (const std::wstring& title, const std::wstring& buttonName)
{
    reportComClient();

    UiaCoreClient client;

    if (! client.getLoadError().empty())
    {
        std::printf ("Core client: %s\n", client.getLoadError().c_str());
        return 1;
    }

    auto* window = findWindow (title);

    if (window == nullptr)
    {
        std::printf ("No top-level window with that title within %d s\n", secondsToFindWindow);
        return 1;
    }

    UiaCoreClient::Node root;
    const auto result = client.nodeFromWindow (window, root);
    std::printf ("UiaNodeFromHandle: %s (0x%08lx)\n", root != nullptr ? "an element" : "no element",
                 (unsigned long) result);

    if (root == nullptr)
        return 1;

    std::printf ("Elements:\n");
    const UiaTreeListing before (client, root, buttonName);

    if (client.isStuck())
        std::printf ("A call into the window's provider never returned: %s\n", client.getLastFailure().c_str());

    if (before.getButton() == nullptr)
    {
        // Whether the Invoke pattern can be asked for at all: the window itself has none.
        std::printf ("Invoke: no button with that name in the tree; on the window element: %s\n",
                     client.invoke (root).c_str());
        return 2;
    }

    const auto failure = client.invoke (before.getButton());
    std::printf ("Invoke: %s\n", failure.empty() ? "pressed" : failure.c_str());

    if (! failure.empty())
        return 2;

    Sleep (millisecondsForPageChange);
    std::printf ("Elements after Invoke:\n");
    const UiaTreeListing after (client, root, buttonName);

    const auto changed = after.getLines() != before.getLines();
    std::printf ("The tree %s\n", changed ? "changed" : "stayed the same");
    return changed ? 0 : 3;
}
} // namespace

int main()
{
    int count = 0;
    auto** arguments = CommandLineToArgvW (GetCommandLineW(), &count);

    if (arguments == nullptr || count < 2)
    {
        std::fputs ("Usage: vt5150-uia-probe <window title> [<button name>]\n", stderr);
        return 1;
    }

    const std::wstring title = arguments[1];
    const std::wstring buttonName = count > 2 ? arguments[2] : L"Next";
    LocalFree (arguments);

    // Unbuffered, so that what was read shows even if a call into the provider never returns.
    std::setvbuf (stdout, nullptr, _IONBF, 0);
    std::printf ("UI Automation probe, pressing \"%ls\"\n", buttonName.c_str());
    CoInitializeEx (nullptr, COINIT_MULTITHREADED);
    // Ends at once, without waiting for a call into the provider that may still be stuck.
    ExitProcess ((UINT) probe (title, buttonName));
}
