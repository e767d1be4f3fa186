#include "app/waiting.h"

#include "platform/classes/ClassBuilder.h"

namespace qv {

TfmWaiting *fmWaiting = nullptr;

const TClassInfo &TfmWaiting::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TfmWaiting, TForm>("TfmWaiting", [](auto &) {});
  return info;
}

TfmWaiting::TfmWaiting(TComponent *owner) : TForm(owner) {
  BindField("Label1", Label1);
  BindField("Image1", Image1);
  CreateFromLayout();
}

TfmWaiting::~TfmWaiting() {
  DestroyComponents();
  if (fmWaiting == this) fmWaiting = nullptr;
}

} // namespace qv
