// Fitting.
#include "GridFixture.h"
namespace qv {}
