// Input.
#include "GridFixture.h"
namespace qv {}
