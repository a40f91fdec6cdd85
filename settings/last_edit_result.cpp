// The edit result is a plain value: any code may be set, the view reads what it knows.
#include "settings/last_edit_result.h"

void LastEditResult::Set(int value)
{
    value_ = value;
}
