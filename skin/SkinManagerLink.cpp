#include "skin/SkinManagerLink.h"

#include <utility>

namespace qv {

namespace {
TSkinManagerLink *g_link = nullptr;
} // namespace

TSkinManagerLink *SetSkinManagerLink(TSkinManagerLink *link) { return std::exchange(g_link, link); }

TSkinManagerLink *SkinManagerLink() { return g_link; }

} // namespace qv
