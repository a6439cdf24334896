// The registered type library: every member of _Jumplet and __Jumplet, in interface order,
// with its DISPID, parameter names and types and its documentation string.
#include "TestContainer.h"

#include <gtest/gtest.h>

using namespace testhost;

namespace {

struct Member {
    std::wstring name;
    INVOKEKIND kind;
    DISPID id;
    // "Name Type"; "Type" alone for property accessors, whose parameter names the platform
    // answers by member id, that is from the read accessor for both.
    std::vector<std::wstring> parameters;
    std::wstring doc;
};

constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET, kPut = INVOKE_PROPERTYPUT, kPutRef = INVOKE_PROPERTYPUTREF,
                     kCall = INVOKE_FUNC;

std::wstring TypeName(ITypeInfo& owner, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_I2: return L"Integer";
    case VT_BOOL: return L"Boolean";
    case VT_BSTR: return L"String";
    case VT_R4: return L"Single";
    case VT_UI4: return L"OLE_COLOR";
    case VT_PTR: return TypeName(owner, *type.lptdesc) + L"*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> referenced;
        BSTR name = nullptr;
        if (SUCCEEDED(owner.GetRefTypeInfo(type.hreftype, referenced.Put())))
            referenced->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        return com::Bstr::Adopt(name).Str();
    }
    default: return L"vt" + std::to_wstring(type.vt);
    }
}

std::vector<Member> MembersOf(ITypeInfo& info) {
    TYPEATTR* attributes = nullptr;
    info.GetTypeAttr(&attributes);
    const WORD count = attributes->cFuncs;
    info.ReleaseTypeAttr(attributes);
    std::vector<Member> members;
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info.GetFuncDesc(i, &function))) continue;
        BSTR names[8] = {};
        UINT named = 0;
        info.GetNames(function->memid, names, 8, &named);
        BSTR doc = nullptr;
        info.GetDocumentation(function->memid, nullptr, &doc, nullptr, nullptr);
        Member member{com::Bstr::Adopt(names[0]).Str(), function->invkind, function->memid, {}, com::Bstr::Adopt(doc).Str()};
        for (SHORT p = 0; p < function->cParams; ++p) {
            const ELEMDESC& parameter = function->lprgelemdescParam[p];
            if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) continue;
            std::wstring name = static_cast<UINT>(p + 1) < named ? com::BstrText(names[p + 1]) + L" " : L"? ";
            if (function->invkind != INVOKE_FUNC) name.clear();
            member.parameters.push_back(name + TypeName(info, parameter.tdesc));
        }
        for (UINT n = 1; n < named; ++n) SysFreeString(names[n]);
        info.ReleaseFuncDesc(function);
        members.push_back(member);
    }
    return members;
}

void ExpectMembers(const std::vector<Member>& expected, const std::vector<Member>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "member " << i << ": " << std::string(expected[i].name.begin(), expected[i].name.end()));
        EXPECT_EQ(expected[i].name, actual[i].name);
        EXPECT_EQ(expected[i].kind, actual[i].kind);
        EXPECT_EQ(expected[i].id, actual[i].id);
        EXPECT_EQ(expected[i].parameters, actual[i].parameters);
        EXPECT_EQ(expected[i].doc, actual[i].doc);
    }
}

class TypeLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_JumpletControl, 1, 0, 0x409, library.Put()));
    }
    ComPtr<ITypeInfo> Info(REFGUID guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(guid, info.Put()));
        return info;
    }
    ComPtr<ITypeLib> library;
};

} // namespace

TEST_F(TypeLibraryTest, LibraryHoldsTheControlItsInterfacesAndThePropertyPage) {
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_EQ(0x409u, attributes->lcid);
    library->ReleaseTLibAttr(attributes);
    BSTR name = nullptr;
    library->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    EXPECT_EQ(L"JumpletControl", com::Bstr::Adopt(name).Str());

    const struct {
        const GUID& guid;
        const wchar_t* name;
        TYPEKIND kind;
    } items[] = {
        {CLSID_Jumplet, L"Jumplet", TKIND_COCLASS},
        {IID__Jumplet, L"_Jumplet", TKIND_DISPATCH},
        {DIID___Jumplet, L"__Jumplet", TKIND_DISPATCH},
        {CLSID_PropertyPage1, L"PropertyPage1", TKIND_COCLASS},
    };
    for (const auto& item : items) {
        ComPtr<ITypeInfo> info = Info(item.guid);
        ASSERT_TRUE(info);
        BSTR itemName = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &itemName, nullptr, nullptr, nullptr);
        EXPECT_EQ(item.name, com::Bstr::Adopt(itemName).Str());
        TYPEATTR* typeAttributes = nullptr;
        info->GetTypeAttr(&typeAttributes);
        EXPECT_EQ(item.kind, typeAttributes->typekind) << std::string(item.name, item.name + wcslen(item.name));
        if (IsEqualGUID(item.guid, CLSID_Jumplet)) {
            EXPECT_TRUE(typeAttributes->wTypeFlags & TYPEFLAG_FCONTROL);
        }
        if (IsEqualGUID(item.guid, IID__Jumplet)) {
            EXPECT_TRUE(typeAttributes->wTypeFlags & TYPEFLAG_FDUAL);
        }
        info->ReleaseTypeAttr(typeAttributes);
    }
}

TEST_F(TypeLibraryTest, JumpletHasDefaultInterfaceAndDefaultEventSource) {
    ComPtr<ITypeInfo> control = Info(CLSID_Jumplet);
    std::vector<std::pair<std::wstring, int>> implemented;
    for (UINT i = 0; i < 2; ++i) {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> info;
        int flags = 0;
        ASSERT_EQ(S_OK, control->GetRefTypeOfImplType(i, &reference));
        ASSERT_EQ(S_OK, control->GetRefTypeInfo(reference, info.Put()));
        control->GetImplTypeFlags(i, &flags);
        BSTR name = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        implemented.emplace_back(com::Bstr::Adopt(name).Str(), flags);
    }
    EXPECT_EQ((std::vector<std::pair<std::wstring, int>>{
                  {L"_Jumplet", IMPLTYPEFLAG_FDEFAULT},
                  {L"__Jumplet", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}),
              implemented);
}

TEST_F(TypeLibraryTest, DefaultInterfaceMembersInOrder) {
    // The vtable view of the dual interface, without the inherited IDispatch members.
    ComPtr<ITypeInfo> dispatchView = Info(IID__Jumplet), info;
    HREFTYPE reference = 0;
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeOfImplType(-1, &reference));
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeInfo(reference, info.Put()));

    const std::wstring alignment = L"Returns/sets the alignment of a CheckBox or OptionButton, or a control's text.";
    const std::wstring autoRedraw = L"Returns/sets the output from a graphics method to a persistent bitmap.";
    const std::wstring borderStyle = L"Returns/sets the border style for an object.";
    const std::wstring caption = L"Returns/sets the text displayed in an object's title bar or below an object's icon.";
    const std::wstring enabled = L"Returns/sets a value that determines whether an object can respond to user-generated events.";
    const std::wstring mousePointer = L"Returns/sets the type of mouse pointer displayed when over part of an object.";
    const std::wstring backColor = L"Returns/sets the background color used to display text and graphics in an object.";
    const std::wstring font = L"Returns a Font object.";
    const std::wstring fontBold = L"Returns/sets bold font styles.";
    const std::wstring fontItalic = L"Returns/sets italic font styles.";
    const std::wstring fontName = L"Specifies the name of the font that appears in each row for the given level.";
    const std::wstring fontSize = L"Specifies the size (in points) of the font that appears in each row for the given level.";
    const std::wstring fontUnderline = L"Returns/sets underline font styles.";
    const std::wstring foreColor = L"Returns/sets the foreground color used to display text and graphics in an object.";
    ExpectMembers(
        {
            {L"Alignment", kGet, 0x6803000D, {}, alignment},
            {L"Alignment", kPut, 0x6803000D, {L"Integer"}, alignment},
            {L"AutoRedraw", kGet, 0x6803000C, {}, autoRedraw},
            {L"AutoRedraw", kPut, 0x6803000C, {L"Boolean"}, autoRedraw},
            {L"BorderStyle", kGet, 0x6803000B, {}, borderStyle},
            {L"BorderStyle", kPut, 0x6803000B, {L"Integer"}, borderStyle},
            {L"Caption", kGet, 0x6803000A, {}, caption},
            {L"Caption", kPut, 0x6803000A, {L"String"}, caption},
            {L"Enabled", kGet, 0x68030009, {}, enabled},
            {L"Enabled", kPut, 0x68030009, {L"Boolean"}, enabled},
            {L"MousePointer", kGet, 0x68030008, {}, mousePointer},
            {L"MousePointer", kPut, 0x68030008, {L"Integer"}, mousePointer},
            {L"Refresh", kCall, 0x60030014, {}, L"Forces a complete repaint of a object."},
            {L"URL", kGet, 0x68030007, {}, L""},
            {L"URL", kPut, 0x68030007, {L"String"}, L""},
            {L"BackColor", kGet, 0x68030006, {}, backColor},
            {L"BackColor", kPut, 0x68030006, {L"OLE_COLOR"}, backColor},
            {L"Font", kGet, -512, {}, font},
            {L"Font", kPutRef, -512, {L"IFontDisp*"}, font},
            {L"FontBold", kGet, 0x68030005, {}, fontBold},
            {L"FontBold", kPut, 0x68030005, {L"Boolean"}, fontBold},
            {L"FontItalic", kGet, 0x68030004, {}, fontItalic},
            {L"FontItalic", kPut, 0x68030004, {L"Boolean"}, fontItalic},
            {L"FontName", kGet, 0x68030003, {}, fontName},
            {L"FontName", kPut, 0x68030003, {L"String"}, fontName},
            {L"FontSize", kGet, 0x68030002, {}, fontSize},
            {L"FontSize", kPut, 0x68030002, {L"Single"}, fontSize},
            {L"FontUnderline", kGet, 0x68030001, {}, fontUnderline},
            {L"FontUnderline", kPut, 0x68030001, {L"Boolean"}, fontUnderline},
            {L"ForeColor", kGet, 0x68030000, {}, foreColor},
            {L"ForeColor", kPut, 0x68030000, {L"OLE_COLOR"}, foreColor},
            {L"PopupMessage", kGet, 0x68030015, {}, L""},
            {L"PopupMessage", kPut, 0x68030015, {L"String"}, L""},
            {L"NavigateUrl", kCall, 0x60030027, {}, L""},
        },
        MembersOf(*info.Get()));
}

TEST_F(TypeLibraryTest, EventInterfaceMembersInOrder) {
    const std::vector<std::wstring> mouse = {L"Button Integer*", L"Shift Integer*", L"X Single*", L"Y Single*"};
    ExpectMembers(
        {
            {L"Click", kCall, 1, {}, L"Occurs when the user presses and then releases a mouse button over an object."},
            {L"DblClick", kCall, 2, {},
             L"Occurs when the user presses and releases a mouse button and then presses and releases it again over an object."},
            {L"HitTest", kCall, 3, {L"X Single*", L"Y Single*", L"HitResult Integer*"},
             L"Occurs in a windowless user control in response to mouse activity."},
            {L"KeyPress", kCall, 4, {L"KeyAscii Integer*"}, L"Occurs when the user presses and releases an ANSI key."},
            {L"MouseDown", kCall, 5, mouse, L"Occurs when the user presses the mouse button while an object has the focus."},
            {L"MouseMove", kCall, 6, mouse, L"Occurs when the user moves the mouse."},
            {L"MouseUp", kCall, 7, mouse, L"Occurs when the user releases the mouse button while an object has the focus."},
            {L"Show", kCall, 8, {}, L"Occurs when the control's Visible property changes to True."},
            {L"LostMouseFocus", kCall, 9, {}, L""},
            {L"GetMouseFocus", kCall, 10, {}, L""},
        },
        MembersOf(*Info(DIID___Jumplet).Get()));
}
