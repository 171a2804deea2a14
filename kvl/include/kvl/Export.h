#pragma once
// What libkvl2005 shows its clients. The library is built with hidden visibility, so only
// declarations marked KVL_API are exported; classes are marked whole, which also exports
// their type information, so a client's object is recognised across the library boundary.

#define KVL_API __attribute__((visibility("default")))
