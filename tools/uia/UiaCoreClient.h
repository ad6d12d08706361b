// The client side of UI Automation's core API (uiautomationcore.dll): an
// element tree read through nodes (UiaNodeFromHandle, UiaNavigate,
// UiaGetPropertyValue) and a button pressed through its Invoke pattern. This
// is the layer under the COM client (IUIAutomation) that screen readers use,
// and the one that Wine implements first; MinGW-w64 declares neither, so the
// functions are looked up in the DLL at run time.

#pragma once

#include "GuardedCall.h"

#include <ole2.h>
#include <uiautomationcore.h>

#include <memory>
#include <string>
#include <type_traits>

// The core API's handles. MinGW-w64's uiautomationcoreapi.h, which declares
// them, does not compile as C++ (a parameter there is named "new").
DECLARE_HANDLE (HUIANODE);
DECLARE_HANDLE (HUIAPATTERNOBJECT);

class UiaCoreClient
{
public:
    /** Releases a node through the DLL that made it, unless a call has got stuck: a
        release would then wait for the stuck process as well.
    */
    struct NodeReleaser
    {
        BOOL (WINAPI* release) (HUIANODE) = nullptr;
        const bool* stuck = nullptr;

        void operator() (HUIANODE node) const
        {
            if (! *stuck)
                release (node);
        }
    };

    using Node = std::unique_ptr<std::remove_pointer_t<HUIANODE>, NodeReleaser>;

    /** Loads uiautomationcore.dll and looks its client functions up. */
    UiaCoreClient();
    UiaCoreClient (const UiaCoreClient&) = delete;
    UiaCoreClient& operator= (const UiaCoreClient&) = delete;

    /** Empty when every function was found, otherwise what is missing. */
    const std::string& getLoadError() const
    {
        return loadError;
    }

    /** The element of a top-level window, as its own UI Automation provider describes it. */
    HRESULT nodeFromWindow (HWND window, Node& node);

    /** The element in a direction from another; null when there is none or on failure (in result). */
    Node navigate (const Node& from, NavigateDirection direction, HRESULT& result);

    /** A property of an element; the caller clears the value. */
    HRESULT getProperty (const Node& node, PROPERTYID property, VARIANT& value);

    /** Presses the element through its Invoke pattern. Empty on success, otherwise what failed. */
    std::string invoke (const Node& node);

    /** What the last call that failed, or never returned, ran into: empty when it returned an error. */
    const std::string& getLastFailure() const
    {
        return lastFailure;
    }

    /** True once a call has not returned in time: the nodes are then left unreleased. */
    bool isStuck() const
    {
        return stuck;
    }

private:
    struct Functions;

    template <typename Function>
    void find (Function& function, const char* name);
    HRESULT guarded (const char* step, const std::function<HRESULT()>& call);
    NodeReleaser releaser() const;

    HMODULE library = nullptr;
    // Shared with the calls, which may outlive the client when they get stuck.
    std::shared_ptr<Functions> functions;
    GuardedCall guard;
    std::string loadError;
    std::string lastFailure;
    bool stuck = false;
};
