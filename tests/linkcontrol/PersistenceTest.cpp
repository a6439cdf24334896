// Saving and loading an instance's settings through a property bag (and a stream).
#include "TestContainer.h"

#include <gtest/gtest.h>

using namespace testhost;

namespace {

constexpr long kNavy = 0x00800000, kBlue = 0x00FF0000;
const wchar_t kStoredPopup[] = L"There is no help associated with this command\\link";
const wchar_t kDefaultPopup[] = L"There is no help for this command\\link";

// The set the main window keeps for its "Retrieve Image Information" link, keys in lower case.
ComPtr<RecordingPropertyBag> MainWindowSet() {
    auto bag = com::MakeObject<RecordingPropertyBag>();
    auto font = MakeFont(L"MS Sans Serif", 8.25, false, true);
    bag->Store(L"_extentx", Variant::Long(3466));
    bag->Store(L"_extenty", Variant::Long(450));
    bag->Store(L"autoredraw", Variant::Bool(false));
    bag->Store(L"caption", Variant::Text(L"Retrieve Image Information"));
    bag->Store(L"font", Variant::Object(static_cast<IDispatch*>(font.Get())));
    bag->Store(L"forecolor", Variant::Long(kNavy));
    bag->Store(L"mousepointer", Variant::Short(0));
    bag->Store(L"font", Variant::Object(static_cast<IDispatch*>(font.Get())));
    bag->Store(L"fontname", Variant::Text(L"MS Sans Serif"));
    bag->Store(L"fontsize", Variant::Single(8.25f));
    bag->Store(L"fontunderline", Variant::Bool(true));
    bag->Store(L"forecolor", Variant::Long(kNavy));
    bag->Store(L"popupmessage", Variant::Text(kStoredPopup));
    return bag;
}

std::wstring Text(const Variant& value) { return value.Type() == VT_BSTR ? com::BstrText(value.Get()->bstrVal) : L"?"; }

class PersistenceTest : public testing::Test {
protected:
    HostWindow& host = SharedHostWindow();
};

} // namespace

TEST_F(PersistenceTest, NewInstanceSavedAtOnceWritesOnlyWhatDiffersFromTheWriteDefaults) {
    TestControl control(host);
    auto bag = com::MakeObject<RecordingPropertyBag>();
    ASSERT_EQ(S_OK, control.Save(*bag.Get()));
    EXPECT_EQ((std::vector<std::wstring>{L"_ExtentX", L"_ExtentY", L"AutoRedraw", L"Font", L"ForeColor",
                                         L"MousePointer", L"Font", L"FontName", L"FontSize", L"FontUnderline",
                                         L"ForeColor", L"PopupMessage"}),
              bag->WrittenKeys());
    EXPECT_EQ(VT_BOOL, bag->WrittenValue(L"AutoRedraw").Type());
    EXPECT_EQ(VARIANT_FALSE, bag->WrittenValue(L"AutoRedraw").Get()->boolVal);
    EXPECT_EQ(VT_I4, bag->WrittenValue(L"ForeColor").Type());
    EXPECT_EQ(kNavy, bag->WrittenValue(L"ForeColor", 1).Get()->lVal);
    EXPECT_EQ(VT_I2, bag->WrittenValue(L"MousePointer").Type());
    EXPECT_EQ(0, bag->WrittenValue(L"MousePointer").Get()->iVal);
    EXPECT_EQ(L"MS Sans Serif", Text(bag->WrittenValue(L"FontName")));
    EXPECT_EQ(VT_R4, bag->WrittenValue(L"FontSize").Type());
    EXPECT_FLOAT_EQ(8.25f, bag->WrittenValue(L"FontSize").Get()->fltVal);
    EXPECT_EQ(VARIANT_TRUE, bag->WrittenValue(L"FontUnderline").Get()->boolVal);
    EXPECT_EQ(kStoredPopup, Text(bag->WrittenValue(L"PopupMessage")));
    Variant font = bag->WrittenValue(L"Font");
    ASSERT_EQ(VT_DISPATCH, font.Type());
    EXPECT_EQ(L"MS Sans Serif", FontName(font.Get()->pdispVal));
    ASSERT_EQ(S_OK, control.Put(L"FontName", Variant::Text(L"Tahoma")));
    EXPECT_EQ(L"MS Sans Serif", FontName(font.Get()->pdispVal)) << "the saved font is a copy, not the label's";

    ASSERT_EQ(S_OK, control.Put(L"Caption", Variant::Text(L"Save Info to CSV file")));
    auto second = com::MakeObject<RecordingPropertyBag>();
    ASSERT_EQ(S_OK, control.Save(*second.Get()));
    auto keys = second->WrittenKeys();
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(L"Caption", keys[3]) << "Caption follows AutoRedraw";
    EXPECT_EQ(L"Save Info to CSV file", Text(second->WrittenValue(L"Caption")));
}

TEST_F(PersistenceTest, EveryChangedSettingIsWrittenAndLoadsBack) {
    TestControl original(host);
    const struct {
        const wchar_t* name;
        Variant value;
    } settings[] = {
        {L"Alignment", Variant::Short(1)},        {L"AutoRedraw", Variant::Bool(true)},
        {L"BorderStyle", Variant::Short(1)},      {L"Caption", Variant::Text(L"A link")},
        {L"MousePointer", Variant::Short(2)},     {L"URL", Variant::Text(L"https://example.org/")},
        {L"BackColor", Variant::Long(0x123456)},  {L"FontBold", Variant::Bool(true)},
        {L"FontItalic", Variant::Bool(true)},     {L"FontName", Variant::Text(L"Tahoma")},
        {L"FontSize", Variant::Single(12)},       {L"FontUnderline", Variant::Bool(false)},
        {L"ForeColor", Variant::Long(0x00AA00)},  {L"PopupMessage", Variant::Text(L"Help text")},
        {L"Enabled", Variant::Bool(false)},
    };
    for (const auto& setting : settings) ASSERT_EQ(S_OK, original.Put(setting.name, setting.value));
    ASSERT_EQ(S_OK, original.Put(L"ForeColor", Variant::Long(0x00AA00)));  // Enabled = False set grey

    auto bag = com::MakeObject<RecordingPropertyBag>();
    ASSERT_EQ(S_OK, original.Save(*bag.Get()));
    bag->stored = bag->written;
    TestControl loaded(host, bag.Get());
    for (const auto& setting : settings) {
        Variant read = loaded.Get(setting.name);
        EXPECT_TRUE(SameValue(read, setting.value)) << std::string(setting.name, setting.name + wcslen(setting.name));
    }
    EXPECT_TRUE(loaded.changes->names.empty()) << "loading reports nothing";
}

TEST_F(PersistenceTest, MainWindowSetLoadsWithLowerCaseKeys) {
    auto bag = MainWindowSet();
    TestControl control(host, bag.Get());
    EXPECT_EQ(L"Retrieve Image Information", control.GetText(L"Caption"));
    EXPECT_EQ(kNavy, control.GetLong(L"ForeColor"));
    EXPECT_EQ(0, control.GetLong(L"MousePointer"));
    EXPECT_EQ(-1, control.GetLong(L"FontUnderline"));
    EXPECT_EQ(0, control.GetLong(L"AutoRedraw"));
    EXPECT_EQ(L"http://", control.GetText(L"URL"));
    EXPECT_EQ(kStoredPopup, control.GetText(L"PopupMessage"));
    EXPECT_TRUE(control.changes->names.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"_ExtentX", L"_ExtentY", L"Alignment", L"AutoRedraw", L"BorderStyle",
                                         L"Caption", L"Enabled", L"Font", L"ForeColor", L"MouseIcon", L"MousePointer",
                                         L"BackColor", L"URL", L"BackColor", L"Font", L"FontBold", L"FontItalic",
                                         L"FontName", L"FontSize", L"FontUnderline", L"ForeColor", L"PopupMessage"}),
              bag->readKeys);
}

TEST_F(PersistenceTest, ReadDefaultsForMissingKeys) {
    const struct {
        const wchar_t* removed;
        const wchar_t* property;
        long expected;
    } cases[] = {
        {L"forecolor", L"ForeColor", kBlue},     // blue, not the navy of a new instance
        {L"mousepointer", L"MousePointer", 4},   // 4, not the write default 99
        {L"fontunderline", L"FontUnderline", 0}, // off, although the stored font is underlined
        {L"autoredraw", L"AutoRedraw", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.removed, c.removed + wcslen(c.removed)));
        auto bag = MainWindowSet();
        std::erase_if(bag->stored, [&](const auto& entry) { return entry.key == c.removed; });
        TestControl control(host, bag.Get());
        EXPECT_EQ(c.expected, control.GetLong(c.property));
    }
}

TEST_F(PersistenceTest, UnderlineLoadedOffComesBackWithTheNextCaption) {
    auto bag = MainWindowSet();
    std::erase_if(bag->stored, [](const auto& entry) { return entry.key == L"fontunderline"; });
    TestControl control(host, bag.Get());
    ASSERT_EQ(0, control.GetLong(L"FontUnderline"));
    control.Put(L"Caption", Variant::Text(L"Again"));
    EXPECT_EQ(-1, control.GetLong(L"FontUnderline"));
}

TEST_F(PersistenceTest, PointerNinetyNineAndEmptyPopupAreNotWrittenAndLoadAsDefaults) {
    TestControl original(host);
    ASSERT_EQ(S_OK, original.Put(L"MousePointer", Variant::Short(99)));
    ASSERT_EQ(S_OK, original.Put(L"PopupMessage", Variant::Text(L"")));
    auto bag = com::MakeObject<RecordingPropertyBag>();
    ASSERT_EQ(S_OK, original.Save(*bag.Get()));
    for (const auto& key : bag->WrittenKeys()) {
        EXPECT_NE(L"MousePointer", key);
        EXPECT_NE(L"PopupMessage", key);
    }
    bag->stored = bag->written;
    TestControl loaded(host, bag.Get());
    EXPECT_EQ(4, loaded.GetLong(L"MousePointer"));
    EXPECT_EQ(kDefaultPopup, loaded.GetText(L"PopupMessage"));
}

TEST_F(PersistenceTest, MissingFontLoadsTheAmbientFont) {
    auto bag = MainWindowSet();
    std::erase_if(bag->stored, [](const auto& entry) {
        return entry.key == L"font" || entry.key == L"fontname" || entry.key == L"fontsize";
    });
    Placement placement;
    placement.ambientFont = MakeFont(L"Tahoma", 12, true, false);
    TestControl control(host, bag.Get(), placement);
    EXPECT_EQ(L"Tahoma", control.GetText(L"FontName"));
    EXPECT_EQ(0, control.GetLong(L"FontBold")) << "the missing FontBold key loads False over the ambient bold";
    Variant font = control.Get(L"Font");
    EXPECT_NE(static_cast<IDispatch*>(placement.ambientFont.Get()), font.Get()->pdispVal);
}

TEST_F(PersistenceTest, BadEntriesAreSkippedAndTheLastFailureReportedOnce) {
    auto bag = MainWindowSet();
    bag->Store(L"alignment", Variant::Text(L"abc"));
    bag->Store(L"borderstyle", Variant::Short(7));
    MessageBoxRecorder boxes;
    TestControl control(host, bag.Get());
    EXPECT_EQ(0, control.GetLong(L"Alignment"));
    EXPECT_EQ(0, control.GetLong(L"BorderStyle"));
    EXPECT_EQ(L"Retrieve Image Information", control.GetText(L"Caption")) << "the other entries load";
    EXPECT_EQ(kNavy, control.GetLong(L"ForeColor"));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"System Error", boxes.Boxes()[0].title);
    const std::wstring& text = boxes.Boxes()[0].text;
    EXPECT_NE(std::wstring::npos, text.find(L"Err Number  : 380\r\nDescription : Invalid property value\r\n")) << "the border, entry 3, failed last";
}

TEST_F(PersistenceTest, TextInANumberEntryIsATypeMismatch) {
    auto bag = MainWindowSet();
    bag->Store(L"alignment", Variant::Text(L"abc"));
    MessageBoxRecorder boxes;
    TestControl control(host, bag.Get());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[0].text.find(L"Err Number  : 13\r\nDescription : Type mismatch\r\n"));
    EXPECT_EQ(L"Retrieve Image Information", control.GetText(L"Caption"));
}

TEST_F(PersistenceTest, PopupMessageDoesNotMarkTheSettingsChanged) {
    auto bag = MainWindowSet();
    TestControl control(host, bag.Get());
    auto persist = control.object.As<IPersistStreamInit>();
    ASSERT_EQ(S_FALSE, persist->IsDirty());
    ASSERT_EQ(S_OK, control.Put(L"PopupMessage", Variant::Text(L"other")));
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    ASSERT_EQ(S_OK, control.Put(L"URL", Variant::Text(L"")));
    EXPECT_EQ(S_OK, persist->IsDirty());
    EXPECT_EQ(L"", control.GetText(L"URL"));
}

TEST_F(PersistenceTest, StreamRoundTrip) {
    TestControl original(host);
    ASSERT_EQ(S_OK, original.Put(L"Caption", Variant::Text(L"Streamed")));
    ASSERT_EQ(S_OK, original.Put(L"FontName", Variant::Text(L"Tahoma")));
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    ASSERT_EQ(S_OK, original.object.As<IPersistStreamInit>()->Save(stream.Get(), TRUE));
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);

    CLSID clsid{};
    CLSIDFromProgID(L"JumpletControl.Jumplet", &clsid);
    ComPtr<IPersistStreamInit> copy;
    ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStreamInit, copy.PutVoid()));
    ASSERT_EQ(S_OK, copy->Load(stream.Get()));
    auto dispatch = copy.As<_Jumplet>();
    com::Bstr caption, font;
    dispatch->get_Caption(caption.Put());
    dispatch->get_FontName(font.Put());
    EXPECT_EQ(L"Streamed", caption.Str());
    EXPECT_EQ(L"Tahoma", font.Str());
}
