#include "screen/ResponsibleType.h"

#include "suite/kit/FormControls.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

struct Side
{
    QString keyBox;
    QString descriptionBox;
    QString frame;
};

const Side &side(ResponsibleType::Kind kind)
{
    static const Side employee{u"txtClaveEmpleado"_s, u"txtDescripcionEmpleado"_s, u"frmEmpleado"_s};
    static const Side client{u"txtClaveCliente"_s, u"txtDescripcionCliente"_s, u"frmCliente"_s};
    return kind == ResponsibleType::Employee ? employee : client;
}

} // namespace

void ResponsibleType::choose(const suite::FormControls &controls, Kind kind)
{
    const Side &left = side(kind == Employee ? Client : Employee);
    const Side &chosen = side(kind);

    controls.require(left.keyBox)->setProperty("text", QString());
    controls.require(left.descriptionBox)->setProperty("text", QString());
    QWidget *leftFrame = controls.require(left.frame);
    leftFrame->setEnabled(false);
    leftFrame->setVisible(false);
    QWidget *chosenFrame = controls.require(chosen.frame);
    chosenFrame->setEnabled(true);
    chosenFrame->setVisible(true);
}

} // namespace xb733
