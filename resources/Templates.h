// The dialog templates, by their resource number (IDD_... in Resource.h).
#pragma once

#include "ui/Template.h"

const ui::DialogTemplate& GetTemplate(int id);
