#pragma once
// The control skinners the choice rules can attach, by kind, and the one place that makes them.
#include "platform/classes/Component.h"

#include <functional>

namespace qv {

class TSkinControl;

enum class TSkinnerKind {
  Button,
  BitButton,
  SpeedButton,
  CheckBox,
  RadioButton,
  ObjImageCheck,  // check boxes of other component sets
  ObjImageRadio,  // radio buttons of other component sets
  ObjImageCheck2, // a further check box kind of other component sets
  GroupBox,
  Box,  // colour only: panels, navigators, embedded forms
  BoxH, // dialog windows
  TabSheet,
  Tab,
  Tab31,
  Header,
  Progress,
  TrackBar,
  UpDown,
  Edit,
  ComBox,
  StatusBar,
  Sizer,
  Scrollbar,  // controls with their own scroll bars
  ScrollbarH, // scroll bars of a window attached by handle
  ScControl,  // stand-alone scroll-bar controls
  ListView
};

// A new skinner of the kind, owned by owner (the skinned control, or the form skinner for a window
// without a control object). Not attached yet.
TSkinControl *CreateSkinner(TSkinnerKind kind, TComponent *owner);

// The program may make skinners of its own: a maker that is set is asked first, and the built-in
// skinner of the kind is made only when it returns none. An empty maker removes it.
using TSkinnerMaker = std::function<TSkinControl *(TSkinnerKind, TComponent *)>;
void SetSkinnerMaker(TSkinnerMaker maker);

} // namespace qv
