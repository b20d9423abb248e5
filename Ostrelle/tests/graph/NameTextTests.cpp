// Names in the graph core's fixed buffers, and the FriendlyName compare that picks a device.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graph/NameText.h"

TEST(FriendlyNameMatch, NamesDifferingOnlyInTheirLastCharacterAreToldApart) {
    EXPECT_FALSE(FriendlyNameMatches("Vorlane Capture V1", "Vorlane Capture V2"));
    EXPECT_FALSE(FriendlyNameMatches("ABC", "ABD"));
    EXPECT_TRUE(FriendlyNameMatches("Vorlane Capture V1", "Vorlane Capture V1"));
}

TEST(FriendlyNameMatch, WantedNameMatchesLongerFriendlyNameThatBeginsWithIt) {
    EXPECT_TRUE(FriendlyNameMatches("713x TV Card Capture", "713x TV Card Capture #2"));
    EXPECT_TRUE(FriendlyNameMatches("ABC", "AB"));
    EXPECT_FALSE(FriendlyNameMatches("ABC", "AX"));
    EXPECT_FALSE(FriendlyNameMatches("abc", "ABC"));
}

TEST(FriendlyNameMatch, EmptyNamesMatchNothing) {
    EXPECT_FALSE(FriendlyNameMatches("", "Any Device"));
    EXPECT_FALSE(FriendlyNameMatches("Any Device", ""));
    EXPECT_FALSE(FriendlyNameMatches(nullptr, "Any Device"));
}

TEST(NameBuffers, LongNameIsCutAtACharacterBoundaryWithoutOverrun) {
    char buffer[kFilterNameSize + 8];
    std::memset(buffer, 'Z', sizeof(buffer));
    // 127 ASCII bytes leave one byte, too little for a three-byte character.
    std::string name = std::string(kFilterNameSize - 2, 'a') + "\xE5\x8D\xA1\xE5\x8D\xA1";
    EXPECT_FALSE(CopyNameText(buffer, kFilterNameSize, name.c_str()));
    EXPECT_EQ(std::string(buffer), std::string(kFilterNameSize - 2, 'a'));
    EXPECT_EQ(buffer[kFilterNameSize], 'Z');

    EXPECT_TRUE(CopyNameText(buffer, kFilterNameSize, "\xE5\x8D\xA1 Capture"));
    EXPECT_STREQ(buffer, "\xE5\x8D\xA1 Capture");
}

TEST(NameBuffers, WideNameConvertsIntoTheBufferBounded) {
    char buffer[kFilterNameSize];
    std::wstring wide(200, L'\x5361');  // 200 three-byte characters
    EXPECT_FALSE(WideToNameText(buffer, sizeof(buffer), wide.c_str()));
    EXPECT_EQ(std::strlen(buffer), 126u);  // 42 whole characters
    EXPECT_TRUE(WideToNameText(buffer, sizeof(buffer), L"USB 2800 Video"));
    EXPECT_STREQ(buffer, "USB 2800 Video");
    EXPECT_TRUE(WideToNameText(buffer, sizeof(buffer), nullptr));
    EXPECT_STREQ(buffer, "");
}
