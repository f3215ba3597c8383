#include "record/AppointmentRecord.h"
#include "record/FieldSchema.h"

bool AppointmentRecord::sameFields(const AppointmentRecord &o) const
{
    for (const RecordField &f : recordFields())
        for (int row = 0; row < f.rows(); ++row)
            if (f.in(*this, row) != f.in(o, row))
                return false;
    return hasPhoto == o.hasPhoto && photoPath == o.photoPath;
}
