#include "setup/setup_settings.h"

#include <algorithm>

#include "core/format.h"

namespace kb {

namespace {

std::string WithoutDoubleQuotes(std::string text) {
    std::replace(text.begin(), text.end(), '"', '\'');
    return text;
}

}  // namespace

bool IsBusinessNameMode(const std::string& setupMode) { return setupMode == "R"; }

void StoreSettings(KBMain& kb, const SetupEntry& entry) {
    if (entry.businessNamePanel) {
        kb.DealerNm = TrimRight(entry.dealerNm);
    } else {
        kb.PassWrd = entry.passWrd;
        kb.TYMsg1 = entry.tyMsg1;
        kb.TYMsg2 = entry.tyMsg2;
    }
    kb.DealerNm = WithoutDoubleQuotes(kb.DealerNm);
    kb.TYMsg1 = WithoutDoubleQuotes(kb.TYMsg1);
    kb.TYMsg2 = WithoutDoubleQuotes(kb.TYMsg2);
    if (TrimRight(kb.DealerNm).empty()) kb.DealerNm = kVendorDealerNm;
}

Config SettingsOf(const KBMain& kb) { return {kb.DealerNm, kb.PassWrd, kb.TYMsg1, kb.TYMsg2}; }

}  // namespace kb
