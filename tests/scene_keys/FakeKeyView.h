#pragma once
// Stands in for the view on the key and macro pages: a profile of 16 key codes, an in-memory
// macro library that answers as the real one does, a scripted answer to the left-click
// question, and a record of every call that changes something.
#include "scenelogic/KeyCodeLogic.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>

class FakeKeyView : public QObject {
    Q_OBJECT
    // Calls in order, each "name(args)" with arguments joined by ", ".
    Q_PROPERTY(QStringList calls MEMBER calls NOTIFY changed)
    Q_PROPERTY(bool foolProofingAnswer MEMBER foolProofingAnswer NOTIFY changed)
    Q_PROPERTY(int foolProofingAsked MEMBER foolProofingAsked NOTIFY changed)
    Q_PROPERTY(bool saveSucceeds MEMBER saveSucceeds NOTIFY changed)
    Q_PROPERTY(bool scrollSwap MEMBER scrollSwap NOTIFY changed)
    Q_PROPERTY(QVariantList defaultProfile MEMBER defaultProfile NOTIFY changed)
    Q_PROPERTY(QVariantList lastMatrix MEMBER lastMatrix NOTIFY changed)

public:
    struct Macro {
        int index = -1;
        int repeat = 1;
        QStringList lines;
    };

    // --- test set-up -----------------------------------------------------------------
    Q_INVOKABLE void reset()
    {
        calls.clear();
        foolProofingAnswer = true;
        foolProofingAsked = 0;
        saveSucceeds = true;
        scrollSwap = false;
        defaultProfile.clear();
        lastMatrix.clear();
        profile.clear();
        macros.clear();
        emit changed();
    }
    Q_INVOKABLE void setProfileCode(int key, const QVariantList &code) { profile[key] = code; }
    Q_INVOKABLE void addMacro(const QString &name, int index, const QStringList &lines)
    {
        macros[name] = Macro{index, 1, lines};
    }
    Q_INVOKABLE QVariantList macroConfig(const QString &name) const
    {
        return macros.contains(name) ? QVariantList{macros[name].index, macros[name].repeat} : QVariantList{};
    }
    Q_INVOKABLE QStringList macroLines(const QString &name) const { return macros.value(name).lines; }
    Q_INVOKABLE void clearCalls() { calls.clear(); emit changed(); }
    Q_INVOKABLE int countCalls(const QString &prefix) const
    {
        int count = 0;
        for (const QString &call : calls)
            count += call.startsWith(prefix) ? 1 : 0;
        return count;
    }

    // --- what the pages call ---------------------------------------------------------
    Q_INVOKABLE void playMedia_Index(int) {}
    Q_INVOKABLE void setEnabled(bool) {}
    Q_INVOKABLE QVariantList loadDefaultProfile(int page) { return page == 0 ? defaultProfile : QVariantList{}; }
    Q_INVOKABLE bool getScrollPinSwap() const { return scrollSwap; }
    Q_INVOKABLE void setScrollPinSwap(bool swap) { record("setScrollPinSwap", {swap}); }
    Q_INVOKABLE QVariantList getKeydefine(const QVariant &key) const
    {
        QVariantList texts;
        for (const QVariant &value : profile.value(key.toInt()))
            texts << value.toString();
        return texts;
    }
    Q_INVOKABLE bool getMsgAns_FoolProofing()
    {
        ++foolProofingAsked;
        emit changed();
        return foolProofingAnswer;
    }
    Q_INVOKABLE void ui_12H_SetKeyMatrix(const QVariantList &src64)
    {
        lastMatrix = src64;
        record("ui_12H_SetKeyMatrix", {src64.size()});
    }
    Q_INVOKABLE void ui_13H_SetMacroKey(const QVariant &macroId, const QVariant &name)
    {
        record("ui_13H_SetMacroKey", {macroId, name});
    }

    Q_INVOKABLE QStringList getMacroIniNames() const
    {
        QStringList names;
        for (const QString &name : macros.keys())
            names << name + ".bin";
        return names;
    }
    Q_INVOKABLE QVariantList loadMacroIniConfig(const QVariant &name) const { return macroConfig(name.toString()); }
    Q_INVOKABLE void setMacroIniConfig(const QVariant &name, const QVariantList &config)
    {
        record("setMacroIniConfig", {name, config.value(0), config.value(1)});
        if (macros.contains(name.toString())) {
            macros[name.toString()].index = config.value(0).toInt();
            macros[name.toString()].repeat = config.value(1).toInt();
        }
    }
    // The macro slots of one profile: the page's codes (MacroSlots counts the other nine too).
    Q_INVOKABLE void releaseUnusedMacros(const QVariantList &codes)
    {
        const KeyCodeLogic::KeyCodes inUse = KeyCodeLogic::codesFromVariant(codes);
        for (auto it = macros.cbegin(); it != macros.cend(); ++it)
            if (it->index >= 0 && !KeyCodeLogic::isSlotUsed(inUse, it->index))
                setMacroIniConfig(it.key(), {-1, 1});
    }
    Q_INVOKABLE int bindMacro(const QVariantList &codes, const QString &name, int repeat)
    {
        releaseUnusedMacros(codes);
        if (!macros.contains(name))
            return -1;
        int slot = macros[name].index;
        if (slot < 0 || slot >= KeyCodeLogic::kMacroSlotCount)
            slot = KeyCodeLogic::freeMacroSlot(KeyCodeLogic::codesFromVariant(codes));
        if (slot < 0)
            return -1;
        setMacroIniConfig(name, {slot, repeat});
        ui_13H_SetMacroKey(slot + 1, name);
        return slot;
    }
    Q_INVOKABLE QVariantList getMacroUsers(const QString &name, const QVariantList &codes) const
    {
        QVariantList users;
        const KeyCodeLogic::KeyCodes held = KeyCodeLogic::codesFromVariant(codes);
        for (int button = 0; button < int(held.size()); ++button)
            if (macros.contains(name) && macros[name].index >= 0
                && KeyCodeLogic::macroSlotOf(held[size_t(button)]) == macros[name].index)
                users << QVariantMap{{"profile", 0}, {"button", button}};
        return users;
    }
    Q_INVOKABLE int unbindMacro(const QString &name)
    {
        const int slot = macros.contains(name) ? macros[name].index : -1;
        if (slot < 0)
            return -1;
        record("unbindMacro", {name});
        macros[name] = Macro{-1, 1, macros[name].lines};
        return slot;
    }
    // 0 none, 1 empty, 2 taken, 3 not a file name, as MacroLibrary::nameProblem.
    Q_INVOKABLE int getMacroNameProblem(const QString &name) const
    {
        if (name.trimmed().isEmpty())
            return 1;
        if (name.contains('/') || name.contains('\\') || name == "." || name == "..")
            return 3;
        return macros.contains(name) ? 2 : 0;
    }
    Q_INVOKABLE QVariant createMacroIni()
    {
        int n = 1;
        while (macros.contains(QString("Macro. %1").arg(n, 3, 10, QChar('0'))))
            ++n;
        const QString name = QString("Macro. %1").arg(n, 3, 10, QChar('0'));
        macros[name] = Macro{};
        record("createMacroIni", {name});
        return name;
    }
    Q_INVOKABLE QVariant deleteMacroIni(const QVariant &name)
    {
        record("deleteMacroIni", {name});
        return macros.remove(name.toString()) > 0;
    }
    Q_INVOKABLE QStringList loadMacroIni(const QVariant &name) const { return macros.value(name.toString()).lines; }
    Q_INVOKABLE QVariant saveMacroIni(const QVariant &name, const QStringList &lines)
    {
        record("saveMacroIni", {name, lines.join("|")});
        if (!saveSucceeds || !macros.contains(name.toString()))
            return false;
        macros[name.toString()].lines = lines;
        return true;
    }
    Q_INVOKABLE void renameMacroIniFile(const QVariant &oldName, const QVariant &newName)
    {
        record("renameMacroIniFile", {oldName, newName});
        if (macros.contains(oldName.toString()) && !macros.contains(newName.toString()))
            macros[newName.toString()] = macros.take(oldName.toString());
    }
    Q_INVOKABLE void loadMacroIniFromFile(const QVariant &name) { record("loadMacroIniFromFile", {name}); }
    Q_INVOKABLE void saveMacroIniToFile(const QVariant &name) { record("saveMacroIniToFile", {name}); }

signals:
    void changed();

private:
    void record(const QString &name, const QVariantList &arguments)
    {
        QStringList texts;
        for (const QVariant &argument : arguments)
            texts << argument.toString();
        calls << name + "(" + texts.join(", ") + ")";
        emit changed();
    }

    QStringList calls;
    bool foolProofingAnswer = true;
    int foolProofingAsked = 0;
    bool saveSucceeds = true;
    bool scrollSwap = false;
    QVariantList defaultProfile;
    QVariantList lastMatrix;
    QMap<int, QVariantList> profile;
    QMap<QString, Macro> macros;
};
