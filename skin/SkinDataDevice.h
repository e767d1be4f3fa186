#pragma once
// The part of a skin data component that lives on the windowing system: the button-face brush,
// the menu glyph image list, the application icon picture and the screen's measures. The Windows
// build makes one per component; elsewhere there is none.
#include "platform/base/Geometry.h"
#include "skin/WinSkinObjects.h"

#include <memory>

namespace qv {

class TSkinDataDevice {
public:
  virtual ~TSkinDataDevice() = default;
  // The system's measures a load needs (read before every load, as they can change).
  virtual TSkinMetrics Metrics() const = 0;
  // The size of a maximised window on the screen (read when the device is made).
  virtual TSize MaximisedSize() const = 0;
  // After every completed load: the button-face brush is made again from the new palette.
  virtual void SkinLoaded(const TSkinDataCore &skin) = 0;
  // Whether the system can report the parts of a scroll bar (scroll bars can be skinned).
  virtual bool CanSkinScrollbars() const = 0;
  // Takes a copy of the application window's icon (at the end of a main-form component's load).
  virtual void ReadApplicationIcon() = 0;
};

// The device of the platform, or none.
std::unique_ptr<TSkinDataDevice> CreateSkinDataDevice();

} // namespace qv
