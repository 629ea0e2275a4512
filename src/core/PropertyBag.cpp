#include "core/PropertyBag.h"

#include <QDataStream>
#include <QIODevice>

QVariant PropertyBag::read(const QString &name, const QVariant &defaultValue) const
{
    return values_.value(name.toLower(), defaultValue);
}

void PropertyBag::write(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    const QString key = name.toLower();
    if (value == defaultValue)
        values_.remove(key);
    else
        values_.insert(key, value);
}

QByteArray PropertyBag::serialize() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << values_;
    return data;
}

PropertyBag PropertyBag::deserialize(const QByteArray &data)
{
    PropertyBag bag;
    QDataStream in(data);
    in >> bag.values_;
    return bag;
}
