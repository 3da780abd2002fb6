// The wizard's pages: the one place that knows every page class.
#pragma once

#include "app/MainSheet.h"

PageTable WizardPages();
