// Saves through the change path as the editors, drags and pastes make them, for the tests over a
// real store and document: one way to build a save and to add an item.
#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "model/schedule_edits.h"

// A save of `values` into the item `ref` names (a new item when it names none).
inline ScheduleChange SaveChange(const ItemRef& ref, ItemValues values)
{
    ScheduleChange change{ChangeKind::kSave, ref};
    change.after = std::move(values);
    return change;
}

// Adds a new item; its object id.
inline int32_t AddThrough(ScheduleEdits& edits, ItemValues values,
                          pim::ItemKind kind = pim::kAppointmentKind)
{
    const EditResult added = edits.Apply(SaveChange({kind, 0}, std::move(values)));
    EXPECT_EQ(added.status, EditStatus::kDone);
    return added.change.item.oid;
}
