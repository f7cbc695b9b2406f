#pragma once
#include <string>

#include "core/config.h"
#include "core/kbmain.h"

namespace kb {

// The business name OK stores when none was given: the vendor's own, with its telephone number.
inline constexpr const char* kVendorDealerNm = "HARROWDALE, INC. (800) 555-0199";

// What the setup screen shows on its two panels: the options panel (password switch, two thank-you lines) or the
// business-name panel.
struct SetupEntry {
    bool businessNamePanel = false;
    std::string dealerNm;
    bool passWrd = false;
    std::string tyMsg1;
    std::string tyMsg2;
};

// The panel of the setup mode: "R" the business name, any other the options.
bool IsBusinessNameMode(const std::string& setupMode);

// OK: the panel's values become the shared values. The shown panel's values only; each double quote becomes an
// apostrophe (the settings line cannot carry one), the business name loses its trailing blanks and an empty one
// becomes the vendor's.
void StoreSettings(KBMain& kb, const SetupEntry& entry);

// The shared values as the settings line holds them.
Config SettingsOf(const KBMain& kb);

}  // namespace kb
