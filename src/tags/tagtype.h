#pragma once

#include "tags/typetagv1.h"
#include "tags/typetagv2.h"

namespace tags {

// The two tags of one file.
struct TagType
{
    TypeTagV1 TagV1;
    TypeTagV2 TagV2;
};

} // namespace tags
