#include "portal/dialnumber.h"

#include <gtest/gtest.h>

using namespace zv;

namespace {

TEST(DialNumber, LinksAndTypedNumbersGiveTheCalleeBoxsDigits) {
    struct Row {
        const char* given;
        const char* number; // empty: nothing to dial
    };
    const Row rows[] = {
        {"tel:+86-571-8877-6655", "057188776655"},
        {"callto:057188776655", "057188776655"},
        {"0571-88776655", "057188776655"},
        {"tel:+86 138 0013 8000", "13800138000"},     // a mobile number
        {"tel:+86-10-6552-9988", "01065529988"},      // an area code that starts with 1
        {"tel:+86 (0)571 8877 6655", "057188776655"}, // the trunk 0 written out
        {"TEL:+1.212.555.0100", "0012125550100"},     // any other country
        {"tel:+86-571-8877-6655;ext=12;phone-context=x", "057188776655"},
        {"tel:%2B86%20571%2088776655", "057188776655"}, // as a browser encodes it
        {"callto://+8613800138000", "13800138000"},
        {"tel:(0571)88776655", "057188776655"},
        {"tel:", ""},
        {"callto:", ""},
        {"tel:;phone-context=x", ""},
        {"tel:+", ""},
        {"tel:+86", ""},
        {"tel:0571-CALL-NOW", ""},
        {"tel:+86-571-8877-6655x", ""},
        {"tel:1+2", ""},
        {"tel:123456789012345678901234567890", "123456789012345678901234567890"},
        {"tel:1234567890123456789012345678901", ""}, // 31 characters
        {"tel:\xD6\xD0\xCE\xC4", ""},
        {"tel:*86#", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(DialableNumber(r.given), r.number) << r.given;
}

TEST(DialNumber, TheCommandLineNamesTheFirstLinkOrTheNumberAfterDial) {
    struct Row {
        TextList arguments;
        bool present;
        const char* given;
        const char* number;
    };
    const std::vector<Row> rows = {
        {{}, false, "", ""},
        {{"/free"}, false, "", ""},
        {{"tel:+86-571-8877-6655"}, true, "tel:+86-571-8877-6655", "057188776655"},
        {{"/free", "callto:057188776655"}, true, "callto:057188776655", "057188776655"},
        {{"--dial", "0571-88776655"}, true, "0571-88776655", "057188776655"},
        {{"--dial"}, true, "", ""},
        {{"tel:abc", "tel:0571"}, true, "tel:abc", ""},
        {{"telephone:0571"}, false, "", ""},
    };
    for (const Row& r : rows) {
        const DialRequest d = DialRequestOf(r.arguments);
        EXPECT_EQ(d.present, r.present) << r.given;
        EXPECT_EQ(d.given, r.given);
        EXPECT_EQ(d.number, r.number) << r.given;
    }
}

} // namespace
