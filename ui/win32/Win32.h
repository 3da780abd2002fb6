// The Windows headers for the backend, after the interface's own: their A/W macros and
// control ids would otherwise rename the interface's functions and constants.
#pragma once

#include "ui/Dialog.h"
#include "ui/ListView.h"
#include "ui/PropertySheet.h"
#include "ui/Services.h"
#include "ui/Settings.h"
#include "ui/Template.h"
#include "ui/Window.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#undef SendMessage
#undef MessageBox
#undef GetOpenFileName
#undef GetSaveFileName
#undef SetDlgItemText
#undef GetDlgItemText
#undef SetWindowText
#undef GetWindowText
#undef GetProfileString
#undef WriteProfileString
#undef GetProfileInt
#undef PropertySheet
#undef IDOK
#undef IDCANCEL
#undef PSWIZB_BACK
#undef PSWIZB_NEXT
#undef PSWIZB_FINISH
#undef PSWIZB_DISABLEDFINISH
