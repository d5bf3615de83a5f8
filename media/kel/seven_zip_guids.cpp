// The one place where 7-Zip's interface identifiers are defined; the
// system's own (IID_IUnknown) come from its import libraries.
#include <windows.h>
#include <ole2.h>

#include "Common/MyInitGuid.h"

#include "media/kel/seven_zip.h"
