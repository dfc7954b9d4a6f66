pragma Singleton
import QtQuick 2.15

// The one question on screen at a time. A page asks; the sheet at the scene root shows it and
// passes the user's choice back. A question asked while another is open gets its safe answer at
// once, so nothing irreversible happens behind a question the user has not seen.
QtObject {
    property bool active: false
    property string heading: ""
    property string sentence: ""
    property var choices: []        // button labels, left to right
    property int safeChoice: 0      // the primary button, and the answer to Esc
    property var handler: null

    // Returns false when the question could not be shown (it was answered with safeChoice).
    function ask(questionHeading, questionSentence, choiceLabels, safeIndex, onAnswer) {
        if (active) {
            if (onAnswer)
                onAnswer(safeIndex)
            return false
        }
        heading = questionHeading
        sentence = questionSentence
        choices = choiceLabels
        safeChoice = safeIndex
        handler = onAnswer
        active = true
        return true
    }

    function answer(index) {
        if (!active)
            return
        var onAnswer = handler
        handler = null
        active = false
        if (onAnswer)
            onAnswer(index)
    }

    function cancel() {
        answer(safeChoice)
    }
}
