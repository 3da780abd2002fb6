// Builds the wizard's eleven page objects: the one place that knows every page class.
#pragma once

#include "app/MainSheet.h"

std::array<ui::PropertyPage*, kPageCount> MakeWizardPages(CMainSheet& sheet);
