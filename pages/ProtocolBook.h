// A phone book page of one protocol: numbers (or destinations) with their events and, where
// the protocol keeps them, account codes, the protocol's two options and, where it has two
// variants, the choice between them. Each protocol's page is this page over the protocol's
// descriptor, with its own icon and captions; the IP page adds its access point.
#pragma once

#include <span>

#include "device/Protocols.h"
#include "pages/PhoneBook.h"

class CProtocolBook : public CPhoneBook {
  public:
    struct Look {
        const char* icon;
        std::span<const Caption> captions;
    };
    CProtocolBook(const protocols::Protocol& protocol, const Look& look);

    bool OnInitDialog() override;
    bool OnSetActive() override;

    // How the page's rows sit in the record.
    static RowLayout RowsOf(const protocols::Protocol& protocol);

  protected:
    void Store() override;
    // The rows, then the options and the variant; stops with false where StoreRows does.
    bool StoreProtocol();

  private:
    const protocols::Protocol& m_protocol;
    const char* const m_icon;
    const RowLayout m_rows;
};
