#include <cstring>

#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;

TEST(InterfaceIds, AreTheirTextZeroPaddedToSixteenBytes) {
    struct Expected {
        const ZrInterfaceId* id;
        const char* text;
        size_t length;
    } table[] = {
        {&IID_IUnknowEx, "IUnknowEx\xBD\xD3\xBF\xDA", 13},
        {&IID_IUnknowEx2, "IUnknowEx2\xBD\xD3\xBF\xDA", 14},
        {&IID_IDrvWnd, "IDrvWnd", 7},
        {&IID_IZr2DEngine, "IZr2DEngine\xBD\xD3\xBF\xDA", 15},
        {&IID_IDrvRender, "IDrvRender", 10},
    };
    for (const auto& e : table) {
        ASSERT_EQ(std::strlen(e.text), e.length);
        EXPECT_EQ(std::memcmp(e.id->bytes, e.text, e.length), 0) << e.text;
        for (size_t i = e.length; i < 16; ++i) EXPECT_EQ(e.id->bytes[i], 0) << e.text << " byte " << i;
    }
    // A longer text keeps its first fifteen bytes and the terminating zero.
    const ZrInterfaceId cut = ZrMakeInterfaceId("0123456789abcdefghij");
    EXPECT_EQ(std::memcmp(cut.bytes, "0123456789abcde", 16), 0);
}

TEST_F(DriverTest, QueryInterfaceAnswersOnlyTheIdentityIdsAtVersionOne) {
    IWnd wnd;
    IUnknownEx2* self = &wnd;
    IUnknownEx2* drv = driver();
    for (IUnknownEx2* object : {self, drv}) {
        EXPECT_EQ(object->QueryInterface(IID_IUnknowEx2.bytes, 0x00010000), object);
        EXPECT_EQ(object->QueryInterface(IID_IUnknowEx.bytes, 0x00010000), object);
        for (unsigned long version : {0x00010001ul, 0x00020000ul, 0x00000000ul}) {
            EXPECT_EQ(object->QueryInterface(IID_IUnknowEx2.bytes, version), nullptr);
            EXPECT_EQ(object->QueryInterface(IID_IUnknowEx.bytes, version), nullptr);
        }
        EXPECT_EQ(object->QueryInterface(IID_IDrvWnd.bytes, 0x00010000), nullptr);
        EXPECT_EQ(object->QueryInterface(nullptr, 0x00010000), nullptr);
    }
    // Bytes after the terminating zero are part of the ID.
    ZrInterfaceId padded = IID_IUnknowEx2;
    padded.bytes[15] = 'x';
    EXPECT_EQ(wnd.QueryInterface(padded.bytes, 0x00010000), nullptr);
}

}  // namespace
