#pragma once
// The waiting window shown while the test paper is generated (layout only).
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

namespace qv {

class TfmWaiting : public TForm {
  QV_DECLARE_CLASS(TfmWaiting)
public:
  explicit TfmWaiting(TComponent *owner);
  ~TfmWaiting() override;
  TLabel *Label1 = nullptr;
  TImage *Image1 = nullptr;
};

extern TfmWaiting *fmWaiting;

} // namespace qv
