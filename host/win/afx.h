// The basic part of the class library: CString and the diagnostic macros. Window and dialog
// classes live in their own headers.
#pragma once

#include <cassert>

#include "windows.h"
#include "afxstr.h"
#include "afxarchive.h"

#ifndef ASSERT
#define ASSERT(f) assert(f)
#endif
#ifndef VERIFY
#ifdef NDEBUG
#define VERIFY(f) ((void)(f))
#else
#define VERIFY(f) assert(f)
#endif
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
