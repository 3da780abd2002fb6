#include "pages/RC_SMSConf.h"

#include "resources/Resource.h"

namespace {

constexpr CPhoneBook::Caption kCaptions[] = {{IDC_BOOK_TITLE, "520"}, {IDC_BOOK_OPTION, "521"}};

}  // namespace

CRC_SMSConf::CRC_SMSConf() : CProtocolBook(protocols::kCidSms, {IDI_CID_SMS, kCaptions}) {}
