// The keyboard, as on the desktop: Return presses Next, or the focused
// button; Tab and Shift+Tab move between the buttons; Space presses the
// focused one; Shift+F10 and the Menu key open the window menu. A key held
// down presses nothing more: its repeats are swallowed.

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
        if (event.key !== 'Enter' || wizard.boxes.isOpen() || menu.isOpen())
            return;
        const focused = document.activeElement;
        if (focused === wizard.next || focused === wizard.previous)
            return;
        event.preventDefault();
        wizard.press(wizard.next);
    });
}
