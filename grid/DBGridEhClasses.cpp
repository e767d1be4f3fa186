// Published properties of the grid's classes and their registration by name.
#include "grid/DBGridEh.h"
#include "grid/DBLookupGridEh.h"

#include "platform/classes/ClassBuilder.h"

namespace qv {

namespace {

const std::vector<std::string> kOptionNames = {
    "dgEditing",       "dgAlwaysShowEditor", "dgTitles",     "dgIndicator", "dgColumnResize",
    "dgColLines",      "dgRowLines",         "dgTabs",       "dgRowSelect", "dgAlwaysShowSelection",
    "dgConfirmDelete", "dgCancelOnExit",     "dgMultiSelect"};
const std::vector<std::string> kOptionEhNames = {"dghFixed3D",
                                                 "dghFrozen3D",
                                                 "dghFooter3D",
                                                 "dghData3D",
                                                 "dghResizeWholeRightPart",
                                                 "dghHighlightFocus",
                                                 "dghClearSelection",
                                                 "dghFitRowHeightToText",
                                                 "dghAutoSortMarking",
                                                 "dghMultiSortMarking",
                                                 "dghEnterAsTab",
                                                 "dghTraceColSizing",
                                                 "dghIncSearch",
                                                 "dghPreferIncSearch",
                                                 "dghRowHighlight"};
const std::vector<std::string> kAllowedOperationNames = {"alopInsertEh", "alopUpdateEh", "alopDeleteEh",
                                                         "alopAppendEh"};
const std::vector<std::string> kAllowedSelectionNames = {"gstRecordBookmarks", "gstRectangle", "gstColumns",
                                                         "gstAll"};
const std::vector<std::string> kEditActionNames = {"geaCutEh", "geaCopyEh", "geaPasteEh", "geaDeleteEh",
                                                   "geaSelectAllEh"};
const std::vector<std::string> kSortMarkerNames = {"smNoneEh", "smDownEh", "smUpEh"};
const std::vector<std::string> kOrientationNames = {"tohHorizontal", "tohVertical"};
const std::vector<std::string> kButtonStyleNames = {"cbsAuto", "cbsEllipsis", "cbsNone", "cbsUpDown",
                                                    "cbsDropDown"};
const std::vector<std::string> kFooterValueTypeNames = {"fvtNon",   "fvtSum",        "fvtAvg",
                                                        "fvtCount", "fvtFieldValue", "fvtStaticText"};
const std::vector<std::string> kGroupOperationNames = {"goSum", "goAvg", "goCount"};
const std::vector<std::string> kVisibleModeNames = {"sbAlwaysShowEh", "sbNeverShowEh", "sbAutoShowEh"};

// An event member of a base class as a member of the class being described.
template <class Derived, class Base, class E> E Derived::*AsDerived(E Base::*member) { return member; }

} // namespace

const TClassInfo &TColumnTitleEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TColumnTitleEh, TPersistent>("TColumnTitleEh", [](auto &c) {
    c.Enum("Alignment", &TColumnTitleEh::Alignment, &TColumnTitleEh::SetAlignment, kAlignmentNames);
    c.String("Caption", &TColumnTitleEh::Caption, &TColumnTitleEh::SetCaption);
    c.Color("Color", &TColumnTitleEh::Color, &TColumnTitleEh::SetColor);
    c.Boolean("EndEllipsis", &TColumnTitleEh::EndEllipsis, &TColumnTitleEh::SetEndEllipsis);
    c.Object("Font", [](const TColumnTitleEh &o) { return const_cast<TColumnTitleEh &>(o).Font(); });
    c.String("Hint", &TColumnTitleEh::Hint, &TColumnTitleEh::SetHint, std::string());
    c.Integer("ImageIndex", &TColumnTitleEh::ImageIndex, &TColumnTitleEh::SetImageIndex, -1);
    c.Enum("Orientation", &TColumnTitleEh::Orientation, &TColumnTitleEh::SetOrientation, kOrientationNames);
    c.Integer("SortIndex", &TColumnTitleEh::SortIndex, &TColumnTitleEh::SetSortIndex, 0);
    c.Enum("SortMarker", &TColumnTitleEh::SortMarker, &TColumnTitleEh::SetSortMarker, kSortMarkerNames, 0);
    c.Boolean("TitleButton", &TColumnTitleEh::TitleButton, &TColumnTitleEh::SetTitleButton);
    c.Boolean("ToolTips", &TColumnTitleEh::ToolTips, &TColumnTitleEh::SetToolTips);
  });
  return info;
}

const TClassInfo &TColumnFooterEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TColumnFooterEh, TCollectionItem>("TColumnFooterEh", [](auto &c) {
        c.Enum("Alignment", &TColumnFooterEh::Alignment, &TColumnFooterEh::SetAlignment, kAlignmentNames);
        c.Color("Color", &TColumnFooterEh::Color, &TColumnFooterEh::SetColor);
        c.String("DisplayFormat", &TColumnFooterEh::DisplayFormat, &TColumnFooterEh::SetDisplayFormat,
                 std::string());
        c.Boolean("EndEllipsis", &TColumnFooterEh::EndEllipsis, &TColumnFooterEh::SetEndEllipsis, false);
        c.String("FieldName", &TColumnFooterEh::FieldName, &TColumnFooterEh::SetFieldName, std::string());
        c.Object("Font", [](const TColumnFooterEh &o) { return const_cast<TColumnFooterEh &>(o).Font(); });
        c.String("Value", &TColumnFooterEh::Value, &TColumnFooterEh::SetValue, std::string());
        c.Enum("ValueType", &TColumnFooterEh::ValueType, &TColumnFooterEh::SetValueType,
               kFooterValueTypeNames, 0);
        c.Boolean("WordWrap", &TColumnFooterEh::WordWrap, &TColumnFooterEh::SetWordWrap, false);
      });
  return info;
}

const TClassInfo &TColumnFootersEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TColumnFootersEh, TCollection>("TColumnFootersEh", [](auto &) {});
  return info;
}

const TClassInfo &TColumnTitleDefValuesEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TColumnTitleDefValuesEh, TPersistent>("TColumnTitleDefValuesEh", [](auto &c) {
        using T = TColumnTitleDefValuesEh;
        c.Enum("Alignment", &T::Alignment, &T::SetAlignment, kAlignmentNames);
        c.Color("Color", &T::Color, &T::SetColor);
        c.Boolean("EndEllipsis", &T::EndEllipsis, &T::SetEndEllipsis, false);
        c.Enum("Orientation", &T::Orientation, &T::SetOrientation, kOrientationNames, 0);
        c.Boolean("TitleButton", &T::TitleButton, &T::SetTitleButton, false);
        c.Boolean("ToolTips", &T::ToolTips, &T::SetToolTips, false);
      });
  return info;
}

const TClassInfo &TColumnDefValuesEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TColumnDefValuesEh, TPersistent>("TColumnDefValuesEh", [](auto &c) {
        using T = TColumnDefValuesEh;
        c.Boolean("AlwaysShowEditButton", &T::AlwaysShowEditButton, &T::SetAlwaysShowEditButton, false);
        c.Boolean("AutoDropDown", &T::AutoDropDown, &T::SetAutoDropDown, false);
        c.Boolean("DblClickNextVal", &T::DblClickNextVal, &T::SetDblClickNextVal, false);
        c.Boolean("DropDownShowTitles", &T::DropDownShowTitles, &T::SetDropDownShowTitles, false);
        c.Boolean("DropDownSizing", &T::DropDownSizing, &T::SetDropDownSizing, false);
        c.Boolean("EndEllipsis", &T::EndEllipsis, &T::SetEndEllipsis, false);
        c.Boolean("ToolTips", &T::ToolTips, &T::SetToolTips, false);
      });
  return info;
}

const TClassInfo &TDBGridEhColumnDefValuesEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBGridEhColumnDefValuesEh, TColumnDefValuesEh>("TDBGridEhColumnDefValuesEh", [](auto &c) {
        c.Object("Title", [](const TDBGridEhColumnDefValuesEh &o) {
          return const_cast<TColumnTitleDefValuesEh *>(o.Title());
        });
      });
  return info;
}

const TClassInfo &TColumnEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TColumnEh, TCollectionItem>("TColumnEh", [](auto &) {});
  return info;
}

const TClassInfo &TDBGridColumnEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBGridColumnEh, TColumnEh>("TDBGridColumnEh", [](auto &c) {
    using T = TColumnEh;
    auto self = [](const TColumnEh &o) -> TColumnEh & { return const_cast<TColumnEh &>(o); };
    c.Enum("Alignment", &T::Alignment, &T::SetAlignment, kAlignmentNames);
    c.Boolean("AlwaysShowEditButton", &T::AlwaysShowEditButton, &T::SetAlwaysShowEditButton);
    c.Boolean("AutoDropDown", &T::AutoDropDown, &T::SetAutoDropDown, false);
    c.Boolean("AutoFitColWidth", &T::AutoFitColWidth, &T::SetAutoFitColWidth, true);
    c.Enum("ButtonStyle", &T::ButtonStyle, &T::SetButtonStyle, kButtonStyleNames, 0);
    c.Boolean("Checkboxes", &T::Checkboxes, &T::SetCheckboxes, false);
    c.Color("Color", &T::Color, &T::SetColor);
    c.Boolean("DblClickNextVal", &T::DblClickNextVal, &T::SetDblClickNextVal, false);
    c.String("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat, std::string());
    c.Object("DropDownBox", [self](const TColumnEh &o) { return self(o).DropDownBox(); });
    c.Integer("DropDownRows", &T::DropDownRows, &T::SetDropDownRows, 7);
    c.Boolean("DropDownShowTitles", &T::DropDownShowTitles, &T::SetDropDownShowTitles);
    c.Object("DropDownSpecRow", [self](const TColumnEh &o) { return self(o).DropDownSpecRow(); });
    c.Integer("DropDownWidth", &T::DropDownWidth, &T::SetDropDownWidth, 0);
    c.CollectionProp("EditButtons", [self](const TColumnEh &o) { return self(o).EditButtons(); });
    c.String("EditMask", &T::EditMask, &T::SetEditMask, std::string());
    c.Boolean("EndEllipsis", &T::EndEllipsis, &T::SetEndEllipsis);
    c.String("FieldName", &T::FieldName, &T::SetFieldName, std::string());
    c.Object("Font", [self](const TColumnEh &o) { return self(o).Font(); });
    c.Object("Footer", [self](const TColumnEh &o) { return self(o).Footer(); });
    c.CollectionProp("Footers", [self](const TColumnEh &o) { return self(o).Footers(); });
    c.StringList("KeyList", [self](const TColumnEh &o) { return self(o).KeyList(); });
    c.String("LookupDisplayFields", &T::LookupDisplayFields, &T::SetLookupDisplayFields, std::string());
    c.Integer("MaxWidth", &T::MaxWidth, &T::SetMaxWidth, 0);
    c.Integer("MinWidth", &T::MinWidth, &T::SetMinWidth, 0);
    c.Object("MRUList", [self](const TColumnEh &o) { return self(o).MRUList(); });
    c.Integer("NotInKeyListIndex", &T::NotInKeyListIndex, &T::SetNotInKeyListIndex, -1);
    c.StringList("PickList", [self](const TColumnEh &o) { return self(o).PickList(); });
    c.Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly);
    c.Integer("Tag", &T::Tag, &T::SetTag, 0);
    c.Object("Title", [self](const TColumnEh &o) { return self(o).Title(); });
    c.Boolean("ToolTips", &T::ToolTips, &T::SetToolTips);
    c.Boolean("Visible", &T::Visible, &T::SetVisible, true);
    c.Integer("Width", &T::Width, &T::SetWidth);
    c.Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap, false);
    c.Event("OnEditButtonClick", AsDerived<TDBGridColumnEh>(&T::OnEditButtonClick));
    c.Event("OnNotInList", AsDerived<TDBGridColumnEh>(&T::OnNotInList));
  });
  return info;
}

const TClassInfo &TDBGridColumnsEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBGridColumnsEh, TCollection>("TDBGridColumnsEh", [](auto &) {});
  return info;
}

const TClassInfo &TDBGridEhScrollBar::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBGridEhScrollBar, TPersistent>("TDBGridEhScrollBar", [](auto &c) {
        using T = TDBGridEhScrollBar;
        c.template Reference<TWinControl>("ExtScrollBar", &T::ExtScrollBar, &T::SetExtScrollBar);
        c.Boolean("Tracking", &T::Tracking, &T::SetTracking, false);
        c.Boolean("Visible", &T::Visible, &T::SetVisible, true);
        c.Enum("VisibleMode", &T::VisibleMode, &T::SetVisibleMode, kVisibleModeNames, 2);
      });
  return info;
}

const TClassInfo &TDBSum::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBSum, TCollectionItem>("TDBSum", [](auto &c) {
    c.String("FieldName", &TDBSum::FieldName, &TDBSum::SetFieldName, std::string());
    c.Enum("GroupOperation", &TDBSum::GroupOperation, &TDBSum::SetGroupOperation, kGroupOperationNames, 0);
  });
  return info;
}

const TClassInfo &TDBSumCollection::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBSumCollection, TCollection>("TDBSumCollection", [](auto &) {});
  return info;
}

const TClassInfo &TDBSumListProducer::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBSumListProducer, TPersistent>("TDBSumListProducer", [](auto &) {});
  return info;
}

const TClassInfo &TDBGridEhSumList::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBGridEhSumList, TDBSumListProducer>("TDBGridEhSumList", [](auto &c) {
        using T = TDBSumListProducer;
        c.Boolean("Active", &T::Active, &T::SetActive, false);
        c.Boolean("ExternalRecalc", &T::ExternalRecalc, &T::SetExternalRecalc, false);
        c.Boolean("VirtualRecords", &T::VirtualRecords, &T::SetVirtualRecords, false);
      });
  return info;
}

const TClassInfo &TCustomDBGridEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomDBGridEh, TCustomGrid>("TCustomDBGridEh", [](auto &) {});
  return info;
}

const TClassInfo &TDBGridEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBGridEh, TCustomDBGridEh>("TDBGridEh", [](auto &c) {
    using T = TCustomDBGridEh;
    auto self = [](const T &o) -> T & { return const_cast<T &>(o); };
    c.Set("AllowedOperations", &T::AllowedOperations, &T::SetAllowedOperations, kAllowedOperationNames, 15u);
    c.Set("AllowedSelections", &T::AllowedSelections, &T::SetAllowedSelections, kAllowedSelectionNames, 15u);
    c.Boolean("AutoFitColWidths", &T::AutoFitColWidths, &T::SetAutoFitColWidths, false);
    c.Object("ColumnDefValues", [self](const T &o) { return self(o).ColumnDefValues(); });
    c.CollectionProp("Columns", [self](const T &o) { return self(o).Columns(); });
    c.template Reference<TDBDataSource>("DataSource", &T::DataSource, &T::SetDataSource);
    c.Boolean("DefaultDrawing", &T::DefaultDrawing, &T::SetDefaultDrawing, true);
    c.Set("EditActions", &T::EditActions, &T::SetEditActions, kEditActionNames, 0u);
    c.Boolean("Flat", &T::Flat, &T::SetFlat, false);
    c.Color("FooterColor", &T::FooterColor, &T::SetFooterColor, clWindow);
    c.Object("FooterFont", [self](const T &o) { return self(o).FooterFont(); });
    c.Integer("FooterRowCount", &T::FooterRowCount, &T::SetFooterRowCount, 0);
    c.Integer("FrozenCols", &T::FrozenCols, &T::SetFrozenCols, 0);
    c.Object("HorzScrollBar", [self](const T &o) { return self(o).HorzScrollBar(); });
    c.Integer("MinAutoFitWidth", &T::MinAutoFitWidth, &T::SetMinAutoFitWidth, 0);
    c.Set("Options", &T::Options, &T::SetOptions, kOptionNames, kDefaultDBGridOptions);
    c.Set("OptionsEh", &T::OptionsEh, &T::SetOptionsEh, kOptionEhNames, kDefaultDBGridEhOptions);
    c.Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
    c.Object("SumList", [self](const T &o) { return self(o).SumList(); });
    c.Integer("RowHeight", &T::RowHeight, &T::SetRowHeight, 0);
    c.Integer("RowLines", &T::RowLines, &T::SetRowLines, 0);
    c.Object("TitleFont", [self](const T &o) { return self(o).TitleFont(); });
    c.Integer("TitleHeight", &T::TitleHeight, &T::SetTitleHeight, 0);
    c.Integer("TitleLines", &T::TitleLines, &T::SetTitleLines, 0);
    c.Boolean("UseMultiTitle", &T::UseMultiTitle, &T::SetUseMultiTitle, false);
    c.Object("VertScrollBar", [self](const T &o) { return self(o).VertScrollBar(); });
    c.Integer("VTitleMargin", &T::VTitleMargin, &T::SetVTitleMargin, 10);
    c.Event("OnCellClick", AsDerived<TDBGridEh>(&T::OnCellClick));
    c.Event("OnColEnter", AsDerived<TDBGridEh>(&T::OnColEnter));
    c.Event("OnColExit", AsDerived<TDBGridEh>(&T::OnColExit));
    c.Event("OnColWidthsChanged", AsDerived<TDBGridEh>(&T::OnColWidthsChanged));
    c.Event("OnDrawColumnCell", AsDerived<TDBGridEh>(&T::OnDrawColumnCell));
    c.Event("OnDrawDataCell", AsDerived<TDBGridEh>(&T::OnDrawDataCell));
    c.Event("OnGetBtnParams", AsDerived<TDBGridEh>(&T::OnGetBtnParams));
    c.Event("OnGetCellParams", AsDerived<TDBGridEh>(&T::OnGetCellParams));
    c.Event("OnGetFooterParams", AsDerived<TDBGridEh>(&T::OnGetFooterParams));
    c.Event("OnDrawFooterCell", AsDerived<TDBGridEh>(&T::OnDrawFooterCell));
    c.Event("OnSumListAfterRecalcAll", AsDerived<TDBGridEh>(&T::OnSumListAfterRecalcAll));
    c.Event("OnSumListRecalcAll", AsDerived<TDBGridEh>(&T::OnSumListRecalcAll));
    c.Event("OnSortMarkingChanged", AsDerived<TDBGridEh>(&T::OnSortMarkingChanged));
    c.Event("OnTitleBtnClick", AsDerived<TDBGridEh>(&T::OnTitleBtnClick));
    c.Event("OnTitleClick", AsDerived<TDBGridEh>(&T::OnTitleClick));
  });
  return info;
}

void RegisterGridClasses() {
  RegisterClasses<TDBGridEh, TDBGridColumnEh, TDBGridColumnsEh, TColumnTitleEh, TColumnFooterEh,
                  TColumnFootersEh, TEditButtonEh, TEditButtonsEh, TMRUListEh, TColumnDefValuesEh,
                  TDBGridEhColumnDefValuesEh, TColumnTitleDefValuesEh, TDBGridEhScrollBar, TDrawGrid,
                  TInplaceEdit, TDBEdit, TDBDataSource, TDataSetComponent, TDBGridEhSumList, TDBSum,
                  TDBSumCollection>();
  TGridResourcesEh::Get();
}

} // namespace qv
