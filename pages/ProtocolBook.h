// A phone book page of one protocol: numbers with their events and, where the protocol keeps
// them, account codes, and the protocol's two options. The SMS and Contact-ID-via-SMS pages are
// this page over their protocol's descriptor, with their own icon and titles.
#pragma once

#include "device/Protocols.h"
#include "pages/PhoneBook.h"

class CProtocolBook : public CPhoneBook {
  public:
    struct Look {
        const char* icon;
        const char* titleSection;
        const char* optionSection;
    };
    CProtocolBook(const protocols::Protocol& protocol, const Look& look);

    bool OnInitDialog() override;
    bool OnSetActive() override;

    // How the page's rows sit in the record.
    static RowLayout RowsOf(const protocols::Protocol& protocol);

  protected:
    void Store() override;

  private:
    const protocols::Protocol& m_protocol;
    const Look m_look;
    const RowLayout m_rows;
};
