#pragma once
// Everything the dialog code needs from the framework.

#include "afx/App.h"
#include "afx/Dialog.h"
#include "afx/MessageMap.h"
#include "afx/String.h"
#include "afx/Types.h"
#include "afx/Wnd.h"
