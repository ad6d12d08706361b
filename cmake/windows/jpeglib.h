// Put before libjpeg-turbo's own jpeglib.h when JUCE is built for Windows.
//
// JUCE includes <jpeglib.h> inside a namespace of its own and then names that
// namespace's `boolean`. libjpeg-turbo's Windows jconfig.h declares `boolean`
// only if <rpcndr.h> has not done so already, and JUCE has read <windows.h>,
// which includes it, by then: the type would exist only in the global namespace.
// It is declared here inside JUCE's namespace as the same type, unsigned char,
// as JUCE does for its own bundled copy of the library under MinGW.
typedef unsigned char boolean;

#include_next <jpeglib.h>
