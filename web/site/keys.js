// The keyboard, as on the desktop: Return presses Next, or the focused
// button; Tab and Shift+Tab move between the buttons shown, round and round;
// Space presses the focused one; Shift+F10 and the Menu key open the window
// menu. A key held down presses nothing more: its repeats are swallowed.

export function handleKeys(document, wizard, menu, openMenuAtCorner)
{
    document.addEventListener('keydown', (event) =>
    {
        if (event.repeat && (event.key === 'Enter' || event.key === ' '))
        {
            event.preventDefault();
            return;
        }
        if (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey))
        {
            event.preventDefault();
            if (!wizard.boxes.isOpen())
                openMenuAtCorner();
            return;
        }
        if (wizard.boxes.isOpen() || menu.isOpen())
            return;
        if (event.key === 'Tab')
        {
            event.preventDefault();
            moveFocus(document, wizard, event.shiftKey ? -1 : 1);
            return;
        }
        if (event.key !== 'Enter')
            return;
        const focused = document.activeElement;
        if (focused === wizard.next || focused === wizard.previous)
            return;
        event.preventDefault();
        wizard.press(wizard.next);
    });
}

function moveFocus(document, wizard, step)
{
    const buttons = [wizard.previous, wizard.next].filter((button) => !button.hidden);
    if (buttons.length === 0)
        return;
    const at = buttons.indexOf(document.activeElement);
    const to = at < 0 ? (step > 0 ? 0 : buttons.length - 1) : (at + step + buttons.length) % buttons.length;
    buttons[to].focus();
}
