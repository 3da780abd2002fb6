#include "pages/SMSconf.h"

#include "resources/Resource.h"

namespace {

constexpr CPhoneBook::Caption kCaptions[] = {{IDC_BOOK_TITLE, "500"}, {IDC_BOOK_OPTION, "501"}};

}  // namespace

CSMSconf::CSMSconf() : CProtocolBook(protocols::kSms, {IDI_SMS, kCaptions}) {}
