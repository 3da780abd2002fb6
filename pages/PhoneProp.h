// Edits one row of a phone book page: the number (or destination), and either a password
// changed with old / new / confirmation, or a 4-character account code; on pages whose rows
// have events it opens the event list for the row's mask. A password-only form edits the
// supervisor page's user account password.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Dialog.h"

class CPhoneProp : public ui::Dialog {
  public:
    CPhoneProp(std::string& number, std::string& code, std::uint8_t* eventMask, int eventFilter,
               ui::Hwnd parent);

    void SetPasswordEntry(int on) { m_bPasswordEntry = on; }
    void SetAccountEntry(int on) { m_bAccountEntry = on; }
    void SetDigitsOnly(int on) { m_bDigitsOnly = on; }
    void SetPasswordOnly(int on) { m_bPasswordOnly = on; }
    // No more characters can be typed into the number than the calling page can store.
    void SetNumberLimit(int maxChars) { m_nNumberLimit = maxChars; }

    static constexpr int kPasswordMax = 10;
    static constexpr int kAccountLength = 4;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    void InitPasswordEntry();
    bool CheckNumber();
    bool CheckPasswords();
    void Warn(const char* section);

    std::string& m_pstrNumber;
    std::string& m_pstrCode;
    std::uint8_t* m_pEventMask;
    int m_nEventFilter;
    int m_bPasswordEntry = 0;
    int m_bAccountEntry = 0;
    int m_bDigitsOnly = 0;
    int m_bPasswordOnly = 0;
    int m_nNumberLimit = 0;
};

// The placeholder and the reminder the dialog puts into its edits.
inline constexpr const char* kNumberPlaceholder = "??????";
inline constexpr const char* kAccountReminder = "Account?!";
inline constexpr const char* kUserAccountCaption = "User account";
