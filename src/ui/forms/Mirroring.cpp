#include "Mirroring.h"

#include "ui/forms/Form.h"

namespace Mirroring {

namespace {

void align(Form* form, bool rightToLeft)
{
    form->setFormRightToLeft(rightToLeft);
    for (NamedControl* control : form->controls()) {
        if (control->tag() != QLatin1String("-1") && control->tag() != QLatin1String("no"))
            control->setAlignment(rightToLeft ? 1 : 0);
        control->setRightToLeft(rightToLeft);
        if (!control->hasPosition())
            continue;
        const double outerWidth =
            control->isInFrame() ? control->container()->width() : form->scaleWidth();
        control->setLeft(outerWidth - control->width() - control->left());
    }
    form->update();
}

} // namespace

void AlignToRight(Form* form)
{
    align(form, true);
}

void AlignToLeft(Form* form)
{
    align(form, false);
}

} // namespace Mirroring
