#include "pages/DTMFconf.h"

#include "resources/Resource.h"

namespace {

constexpr CPhoneBook::Caption kCaptions[] = {
    {IDC_SCENARIO_TITLE, "609"},
    {IDC_SCENARIO_0, "610"},
    {IDC_SCENARIO_1, "611"},
};

}  // namespace

CDTMFconf::CDTMFconf() : CProtocolBook(protocols::kDtmf, kCaptions) {}
