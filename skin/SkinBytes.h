#pragma once
// Byte buffers for the package code (little-endian access in platform/base/Bytes.h). A "stream" in
// the skin engine is a byte vector plus, where it matters, a read position.
#include "platform/base/Bytes.h"
