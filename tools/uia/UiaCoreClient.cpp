#include "UiaCoreClient.h"

#include <uiautomationclient.h>

#include <cstdio>

namespace
{
// Declared by Windows' UIAutomationCoreApi.h, not by MinGW-w64's.
enum
{
    conditionTypeTrue = 0,
    treeScopeElement = 1,
    automationElementModeFull = 1
};

struct UiaCondition
{
    int conditionType;
};

struct UiaCacheRequest
{
    UiaCondition* viewCondition;
    int scope;
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    int elementMode;
};

// Each call into a provider may wait for another process: longer than any answer takes.
constexpr DWORD callTimeoutMilliseconds = 5000;
} // namespace

struct UiaCoreClient::Functions
{
    HRESULT (WINAPI* nodeFromHandle) (HWND, HUIANODE*) = nullptr;
    BOOL (WINAPI* nodeRelease) (HUIANODE) = nullptr;
    HRESULT (WINAPI* getPropertyValue) (HUIANODE, PROPERTYID, VARIANT*) = nullptr;
    HRESULT (WINAPI* navigate)
    (HUIANODE, NavigateDirection, UiaCondition*, UiaCacheRequest*, SAFEARRAY**, BSTR*) = nullptr;
    HRESULT (WINAPI* nodeFromVariant) (VARIANT*, HUIANODE*) = nullptr;
    HRESULT (WINAPI* getPatternProvider) (HUIANODE, PATTERNID, HUIAPATTERNOBJECT*) = nullptr;
    HRESULT (WINAPI* invokePatternInvoke) (HUIAPATTERNOBJECT) = nullptr;
    BOOL (WINAPI* patternRelease) (HUIAPATTERNOBJECT) = nullptr;
};

UiaCoreClient::UiaCoreClient()
    : library (LoadLibraryW (L"uiautomationcore.dll"))
    , functions (std::make_shared<Functions>())
{
    if (library == nullptr)
    {
        loadError = "uiautomationcore.dll cannot be loaded";
        return;
    }

    find (functions->nodeFromHandle, "UiaNodeFromHandle");
    find (functions->nodeRelease, "UiaNodeRelease");
    find (functions->getPropertyValue, "UiaGetPropertyValue");
    find (functions->navigate, "UiaNavigate");
    find (functions->nodeFromVariant, "UiaHUiaNodeFromVariant");
    find (functions->getPatternProvider, "UiaGetPatternProvider");
    find (functions->invokePatternInvoke, "InvokePattern_Invoke");
    find (functions->patternRelease, "UiaPatternRelease");
}

template <typename Function>
void UiaCoreClient::find (Function& function, const char* name)
{
    function = reinterpret_cast<Function> (reinterpret_cast<void*> (GetProcAddress (library, name)));

    if (function == nullptr)
        loadError += std::string (loadError.empty() ? "uiautomationcore.dll lacks " : ", ") + name;
}

HRESULT UiaCoreClient::guarded (const char* step, const std::function<HRESULT()>& call)
{
    lastFailure.clear();

    auto result = std::make_shared<HRESULT> (E_FAIL);

    if (guard.run ([call, result] { *result = call(); }, callTimeoutMilliseconds))
        return *result;

    lastFailure = std::string (step) + ": " + guard.getFailure();
    // A call that never returned has left the provider's process, or Wine, stuck.
    stuck = stuck || guard.didTimeOut();
    return guard.didTimeOut() ? HRESULT_FROM_WIN32 (ERROR_TIMEOUT) : E_NOTIMPL;
}

UiaCoreClient::NodeReleaser UiaCoreClient::releaser() const
{
    return { functions->nodeRelease, &stuck };
}

HRESULT UiaCoreClient::nodeFromWindow (HWND window, Node& node)
{
    auto handle = std::make_shared<HUIANODE>();
    const auto result = guarded ("UiaNodeFromHandle",
                                 [f = functions, window, handle] { return f->nodeFromHandle (window, handle.get()); });
    node = Node (SUCCEEDED (result) ? *handle : nullptr, releaser());
    return result;
}

UiaCoreClient::Node UiaCoreClient::navigate (const Node& from, NavigateDirection direction, HRESULT& result)
{
    auto found = std::make_shared<HUIANODE>();

    result = guarded ("UiaNavigate",
                      [f = functions, node = from.get(), direction, found]
                      {
                          // Every element (the raw view), and of each only the element itself: its
                          // properties are read one by one afterwards.
                          UiaCondition everyElement { conditionTypeTrue };
                          UiaCacheRequest request {
                              &everyElement, treeScopeElement, nullptr, 0, nullptr, 0, automationElementModeFull
                          };
                          SAFEARRAY* elements = nullptr;
                          BSTR treeStructure = nullptr;
                          auto hr = f->navigate (node, direction, &everyElement, &request, &elements, &treeStructure);

                          if (SUCCEEDED (hr) && elements != nullptr)
                          {
                              // The element found is the first column of the first row.
                              LONG first[2] = { 0, 0 };
                              VARIANT element;
                              VariantInit (&element);

                              if (SUCCEEDED (hr = SafeArrayGetElement (elements, first, &element)))
                                  hr = f->nodeFromVariant (&element, found.get());

                              VariantClear (&element);
                          }

                          if (elements != nullptr)
                              SafeArrayDestroy (elements);

                          SysFreeString (treeStructure);
                          return hr;
                      });

    return Node (SUCCEEDED (result) ? *found : nullptr, releaser());
}

HRESULT UiaCoreClient::getProperty (const Node& node, PROPERTYID property, VARIANT& value)
{
    auto read = std::make_shared<VARIANT>();
    VariantInit (read.get());
    VariantInit (&value);
    const auto result = guarded ("UiaGetPropertyValue", [f = functions, handle = node.get(), property, read]
                                 { return f->getPropertyValue (handle, property, read.get()); });

    if (SUCCEEDED (result))
        value = *read;

    return result;
}

std::string UiaCoreClient::invoke (const Node& node)
{
    auto step = std::make_shared<std::string>();
    const auto result = guarded ("Invoke",
                                 [f = functions, handle = node.get(), step]
                                 {
                                     HUIAPATTERNOBJECT pattern = nullptr;
                                     *step = "UiaGetPatternProvider";
                                     auto hr = f->getPatternProvider (handle, UIA_InvokePatternId, &pattern);

                                     if (SUCCEEDED (hr) && pattern == nullptr)
                                         hr = E_NOINTERFACE;

                                     if (FAILED (hr))
                                         return hr;

                                     *step = "InvokePattern_Invoke";
                                     hr = f->invokePatternInvoke (pattern);
                                     f->patternRelease (pattern);
                                     return hr;
                                 });

    if (SUCCEEDED (result))
        return {};

    char text[32];
    std::snprintf (text, sizeof (text), " (0x%08lx)", (unsigned long) result);
    return lastFailure.empty() ? *step + " failed" + text : lastFailure;
}
