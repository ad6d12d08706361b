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

std::string describeResult (const char* step, HRESULT result)
{
    char text[160];
    std::snprintf (text, sizeof (text), "%s failed (0x%08lx)", step, (unsigned long) result);
    return text;
}
} // namespace

struct UiaCoreClient::Functions
{
    HRESULT (WINAPI* nodeFromHandle) (HWND, HUIANODE*) = nullptr;
    BOOL (WINAPI* nodeRelease) (HUIANODE) = nullptr;
    HRESULT (WINAPI* getPropertyValue) (HUIANODE, PROPERTYID, VARIANT*) = nullptr;
    HRESULT (WINAPI* navigate)
    (HUIANODE, NavigateDirection, UiaCondition*, UiaCacheRequest*, SAFEARRAY**, BSTR*) = nullptr;
    HRESULT (WINAPI* nodeFromVariant) (VARIANT*, HUIANODE*) = nullptr;
    HRESULT (WINAPI* getReservedNotSupportedValue) (IUnknown**) = nullptr;
    HRESULT (WINAPI* getPatternProvider) (HUIANODE, PATTERNID, HUIAPATTERNOBJECT*) = nullptr;
    HRESULT (WINAPI* invokePatternInvoke) (HUIAPATTERNOBJECT) = nullptr;
    BOOL (WINAPI* patternRelease) (HUIAPATTERNOBJECT) = nullptr;
};

UiaCoreClient::UiaCoreClient()
    : library (LoadLibraryW (L"uiautomationcore.dll"))
    , functions (std::make_unique<Functions>())
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
    find (functions->getReservedNotSupportedValue, "UiaGetReservedNotSupportedValue");
    find (functions->getPatternProvider, "UiaGetPatternProvider");
    find (functions->invokePatternInvoke, "InvokePattern_Invoke");
    find (functions->patternRelease, "UiaPatternRelease");

    if (loadError.empty())
        functions->getReservedNotSupportedValue (&notSupported);
}

UiaCoreClient::~UiaCoreClient()
{
    if (notSupported != nullptr)
        notSupported->Release();
}

template <typename Function>
void UiaCoreClient::find (Function& function, const char* name)
{
    function = reinterpret_cast<Function> (reinterpret_cast<void*> (GetProcAddress (library, name)));

    if (function == nullptr)
        loadError += std::string (loadError.empty() ? "uiautomationcore.dll lacks " : ", ") + name;
}

HRESULT UiaCoreClient::nodeFromWindow (HWND window, Node& node)
{
    HUIANODE handle = nullptr;
    const auto result = functions->nodeFromHandle (window, &handle);
    node = Node (handle, { functions->nodeRelease });
    return result;
}

UiaCoreClient::Node UiaCoreClient::navigate (const Node& from, NavigateDirection direction, HRESULT& result)
{
    // Every element (the raw view), and of each only the element itself: its
    // properties are read one by one afterwards.
    UiaCondition everyElement { conditionTypeTrue };
    UiaCacheRequest request { &everyElement, treeScopeElement, nullptr, 0, nullptr, 0, automationElementModeFull };
    SAFEARRAY* found = nullptr;
    BSTR treeStructure = nullptr;
    HUIANODE handle = nullptr;

    result = functions->navigate (from.get(), direction, &everyElement, &request, &found, &treeStructure);

    if (SUCCEEDED (result) && found != nullptr)
    {
        // The element found is the first column of the first row.
        LONG first[2] = { 0, 0 };
        VARIANT element;
        VariantInit (&element);

        if (SUCCEEDED (result = SafeArrayGetElement (found, first, &element)))
            result = functions->nodeFromVariant (&element, &handle);

        VariantClear (&element);
    }

    if (found != nullptr)
        SafeArrayDestroy (found);

    SysFreeString (treeStructure);
    return Node (handle, { functions->nodeRelease });
}

HRESULT UiaCoreClient::getProperty (const Node& node, PROPERTYID property, VARIANT& value)
{
    VariantInit (&value);
    return functions->getPropertyValue (node.get(), property, &value);
}

bool UiaCoreClient::isNotSupported (const VARIANT& value) const
{
    return value.vt == VT_UNKNOWN && value.punkVal == notSupported;
}

std::string UiaCoreClient::invoke (const Node& node)
{
    std::string failure;
    const auto returned = guard.run (
        [&]
        {
            HUIAPATTERNOBJECT pattern = nullptr;
            auto result = functions->getPatternProvider (node.get(), UIA_InvokePatternId, &pattern);

            if (FAILED (result) || pattern == nullptr)
            {
                failure = describeResult ("UiaGetPatternProvider", result);
                return;
            }

            result = functions->invokePatternInvoke (pattern);
            functions->patternRelease (pattern);

            if (FAILED (result))
                failure = describeResult ("InvokePattern_Invoke", result);
        });

    return returned ? failure : guard.getFailure();
}
