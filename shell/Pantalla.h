#pragma once

#include <QObject>
#include <QVariant>

// The component's public class. It has no state of its own: every instance
// hands out the same form.
class Pantalla : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant GetPantalla READ GetPantalla)

public:
    explicit Pantalla(QObject *parent = nullptr);

    // The form (a QObject* in the variant), created on the first read.
    QVariant GetPantalla() const;
};
