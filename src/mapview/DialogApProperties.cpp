#include "mapview/DialogApProperties.h"

#include "mapview/DialogLayout.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace tarvo {

CDialogAPProperties::CDialogAPProperties(QWidget* parent, const CApPropertiesText& fields)
    : QDialog(parent), given_(fields) {
    CDialogLayout layout(*this, "Access Point Properties", 162, 249);
    layout.Group(QString(), {15, 9, 130, 97});
    layout.Group(QString(), {10, 105, 140, 65});

    const Qt::Alignment right = Qt::AlignRight;
    layout.Label(QStringLiteral("MAC:"), {20, 19, 37, 8}, right);
    mac_ = layout.Edit("mac", {60, 17, 76, 14}, fields.mac);
    layout.Label(QStringLiteral("SSID:"), {20, 33, 37, 8}, right);
    ssid_ = layout.Edit("ssid", {60, 31, 76, 14}, fields.ssid);
    layout.Label(QStringLiteral("Name:"), {20, 47, 37, 8}, right);
    name_ = layout.Edit("name", {60, 45, 76, 14}, fields.name);
    layout.Label(QStringLiteral("Channel:"), {20, 62, 37, 8}, right);
    channel_ = layout.Edit("channel", {60, 59, 76, 15}, fields.channel);
    layout.Label(QString::fromStdString(fields.firstLabel), {27, 76, 30, 8}, Qt::AlignLeft,
                 "firstLabel");
    first_ = layout.Edit("firstCoordinate", {60, 74, 76, 14}, fields.firstCoordinate);
    layout.Label(QString::fromStdString(fields.secondLabel), {22, 90, 35, 8}, Qt::AlignLeft,
                 "secondLabel");
    second_ = layout.Edit("secondCoordinate", {60, 88, 76, 14}, fields.secondCoordinate);

    layout.Label(QStringLiteral("TX Power (dBm): "), {20, 115, 83, 8});
    txPower_ = layout.Edit("txPower", {105, 112, 40, 14}, fields.txPower);
    layout.Label(QStringLiteral("Antenna Direction:"), {20, 129, 83, 8});
    direction_ = layout.Edit("antennaDirection", {105, 126, 40, 14}, fields.antennaDirection);
    layout.Label(QStringLiteral("Antenna Gain: "), {20, 143, 83, 8});
    gain_ = layout.Edit("antennaGain", {105, 140, 40, 14}, fields.antennaGain);
    layout.Edit("antennaHeightLabel", {20, 153, 75, 14}, fields.antennaHeightLabel, true)
        ->setFrame(false);
    height_ = layout.Edit("antennaHeight", {105, 154, 40, 14}, fields.antennaHeight);

    layout.Label(QStringLiteral("Notes:"), {16, 174, 40, 8});
    notes_ = layout.Notes("notes", {16, 184, 128, 40}, fields.notes);
    layout.Buttons(20, 228, 88, 228);
}

CApPropertiesText CDialogAPProperties::Fields() const {
    CApPropertiesText f = given_;
    f.mac = TextOf(mac_);
    f.ssid = TextOf(ssid_);
    f.name = TextOf(name_);
    f.channel = TextOf(channel_);
    f.firstCoordinate = TextOf(first_);
    f.secondCoordinate = TextOf(second_);
    f.txPower = TextOf(txPower_);
    f.antennaDirection = TextOf(direction_);
    f.antennaGain = TextOf(gain_);
    f.antennaHeight = TextOf(height_);
    f.notes = TextOf(notes_);
    return f;
}

bool CDialogAPProperties::Run(QWidget* parent, CApPropertiesText& fields) {
    CDialogAPProperties dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.Fields();
    return true;
}

} // namespace tarvo
