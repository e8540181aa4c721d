#include "PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <memory>

namespace {

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
const QDateTime& referenceDate() {
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return reference;
}

QVariant toVariant(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_DICT: {
            QVariantMap map;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, it, &key, &value);
                if (key == nullptr) {
                    break;
                }
                map.insert(QString::fromUtf8(key), toVariant(value));
                free(key);
            }
            free(it);
            return map;
        }
        case PLIST_ARRAY: {
            QVariantList list;
            list.reserve(plist_array_get_size(node));
            // An iterator: fetching item i walks the array from its start.
            plist_array_iter it = nullptr;
            plist_array_new_iter(node, &it);
            for (;;) {
                plist_t item = nullptr;
                plist_array_next_item(node, it, &item);
                if (item == nullptr) {
                    break;
                }
                list.append(toVariant(item));
            }
            free(it);
            return list;
        }
        case PLIST_STRING: {
            // Read in place: the bundled lists hold hundreds of strings, read at every start.
            uint64_t length = 0;
            const char* s = plist_get_string_ptr(node, &length);
            return QString::fromUtf8(s, static_cast<qsizetype>(length));
        }
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return b != 0;
        }
        case PLIST_UINT: {
            uint64_t v = 0;
            plist_get_uint_val(node, &v);
            return static_cast<qint64>(v);
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return d;
        }
        case PLIST_DATE: {
            int32_t sec = 0;
            int32_t usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return referenceDate().addMSecs(static_cast<qint64>(sec) * 1000 + usec / 1000);
        }
        case PLIST_DATA: {
            char* bytes = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &bytes, &length);
            QByteArray data(bytes, static_cast<qsizetype>(length));
            free(bytes);
            return data;
        }
        default:
            return {};
    }
}

plist_t fromVariant(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::QVariantMap: {
            plist_t dict = plist_new_dict();
            const QVariantMap map = value.toMap();
            for (auto it = map.begin(); it != map.end(); ++it) {
                if (plist_t child = fromVariant(it.value())) {
                    plist_dict_set_item(dict, it.key().toUtf8().constData(), child);
                }
            }
            return dict;
        }
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            plist_t array = plist_new_array();
            for (const QVariant& item : value.toList()) {
                if (plist_t child = fromVariant(item)) {
                    plist_array_append_item(array, child);
                }
            }
            return array;
        }
        case QMetaType::QString:
            return plist_new_string(value.toString().toUtf8().constData());
        case QMetaType::Bool:
            return plist_new_bool(value.toBool() ? 1 : 0);
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
        case QMetaType::Double:
        case QMetaType::Float:
            return plist_new_real(value.toDouble());
        case QMetaType::QDateTime: {
            const qint64 ms = referenceDate().msecsTo(value.toDateTime());
            const qint64 sec = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
            return plist_new_date(static_cast<int32_t>(sec),
                                  static_cast<int32_t>((ms - sec * 1000) * 1000));
        }
        case QMetaType::QByteArray: {
            const QByteArray data = value.toByteArray();
            return plist_new_data(data.constData(), static_cast<uint64_t>(data.size()));
        }
        default:
            return nullptr;
    }
}

}  // namespace

namespace PropertyList {

std::optional<QVariant> fromData(const QByteArray& data) {
    if (data.isEmpty()) {
        return std::nullopt;
    }
    plist_t root = nullptr;
    if (data.startsWith("bplist")) {
        plist_from_bin(data.constData(), static_cast<uint32_t>(data.size()), &root);
    } else {
        plist_from_xml(data.constData(), static_cast<uint32_t>(data.size()), &root);
    }
    if (root == nullptr) {
        return std::nullopt;
    }
    QVariant value = toVariant(root);
    plist_free(root);
    return value;
}

std::optional<QVariant> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return fromData(file.readAll());
}

QByteArray toXml(const QVariant& value) {
    plist_t root = fromVariant(value);
    if (root == nullptr) {
        return {};
    }
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray out(xml, static_cast<qsizetype>(length));
    free(xml);
    plist_free(root);
    return out;
}

}  // namespace PropertyList
