// Documents and their manager (see acdocman.h).
#pragma once

#include "acdocman.h"
