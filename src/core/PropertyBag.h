#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// The stored properties of an own control. Names compare without regard to letter case; a value
// equal to the default given when writing is left out; an absent name reads as the given default.
class PropertyBag
{
public:
    QVariant read(const QString &name, const QVariant &defaultValue) const;
    void write(const QString &name, const QVariant &value, const QVariant &defaultValue);

    bool contains(const QString &name) const { return values_.contains(name.toLower()); }
    int size() const { return int(values_.size()); }
    QStringList names() const { return values_.keys(); }

    QByteArray serialize() const;
    static PropertyBag deserialize(const QByteArray &data);

private:
    QMap<QString, QVariant> values_; // keyed by lower-case name
};
