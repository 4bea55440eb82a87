#include <gtest/gtest.h>

#include <random>
#include <string>

#include "maze/maze_link.h"

namespace {

TEST(MazeLinkTest, EncodesAsRfc4648Base64UrlAndRoundTrips)
{
    // RFC 4648's test vectors, in the URL alphabet without padding.
    const char* const vectors[][2] = {{"", ""},         {"f", "Zg"},         {"fo", "Zm8"},      {"foo", "Zm9v"},
                                      {"foob", "Zm9vYg"}, {"fooba", "Zm9vYmE"}, {"foobar", "Zm9vYmFy"}};
    for (const auto& v : vectors) {
        EXPECT_EQ(encodeBase64Url(v[0]), v[1]);
        std::string back;
        EXPECT_TRUE(decodeBase64Url(v[1], &back));
        EXPECT_EQ(back, v[0]);
    }
    EXPECT_EQ(encodeBase64Url("\xfb\xff\xbf"), "-_-_");  // the two characters that differ from base64

    // Every byte value, every length up to the limit's neighbourhood.
    std::mt19937 random(7);
    for (size_t size : {size_t(1), size_t(2), size_t(3), size_t(255), size_t(1000), kMaxLinkedMazeBytes}) {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = char(random() & 0xff);
        std::string fragment, err, back;
        ASSERT_TRUE(mazeLinkFragment(bytes, &fragment, &err)) << err;
        EXPECT_TRUE(isMazeLink("#" + fragment));
        ASSERT_TRUE(mazeFromLinkFragment("#" + fragment, &back, &err)) << size << ": " << err;
        EXPECT_EQ(back, bytes) << size;
    }
}

TEST(MazeLinkTest, RefusesWhatNoMazeFileEncodesTo)
{
    std::string fragment, err, bytes;
    EXPECT_FALSE(mazeLinkFragment(std::string(kMaxLinkedMazeBytes + 1, ' '), &fragment, &err));
    EXPECT_EQ(err, "This maze file is too large for a link (4097 bytes; at most 4096).");

    struct Case { std::string fragment, message; } cases[] = {
        {"#maze=Zm9v=", "The link's maze is not valid base64url: \"Zm9v=\"."},  // padding
        {"#maze=Zm+v", "The link's maze is not valid base64url: \"Zm+v\"."},    // base64's own alphabet
        {"#maze=Zm9vY", "The link's maze is not valid base64url: \"Zm9vY\"."},  // no length encodes to this
        {"#maze=Zh", "The link's maze is not valid base64url: \"Zh\"."},        // unused bits set
        {"#maze=" + std::string(100, '%'),
         "The link's maze is not valid base64url: \"" + std::string(40, '%') + "...\"."},
        {"#maze=" + std::string(5464, 'A'), "The link's maze is too long (5464 characters; a maze link holds at most 4096 bytes)."},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(mazeFromLinkFragment(c.fragment, &bytes, &err)) << c.fragment.substr(0, 20);
        EXPECT_EQ(err, c.message);
    }
    // The length alone decides "too long", as a page checks it before copying a fragment.
    EXPECT_EQ(mazeLinkTooLong(5 + 5462), "");  // 4096 bytes' encoding
    EXPECT_EQ(mazeLinkTooLong(5 + 5464), cases[5].message);
    EXPECT_TRUE(mazeFromLinkFragment("#maze=", &bytes, &err));  // an empty file is a file
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(isMazeLink("#seed=5"));
}

}  // namespace
