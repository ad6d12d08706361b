// The menu that a right click on the picture, Shift+F10 or the Menu key
// opens; its one item opens the about box.

export class WindowMenu
{
    constructor(document, texts, onAbout)
    {
        this.document = document;
        this.menu = document.getElementById('menu');
        this.item = document.getElementById('menu-about');
        this.item.textContent = texts.window.about;
        this.returnFocusTo = null;
        this.item.addEventListener('click', () =>
        {
            this.close();
            onAbout();
        });
        this.menu.addEventListener('keydown', (event) =>
        {
            if (event.key === 'Escape')
            {
                event.preventDefault();
                this.close();
            }
        });
        this.item.addEventListener('blur', () => setTimeout(() => this.closeUnlessFocused(), 0));
    }

    isOpen()
    {
        return !this.menu.hidden;
    }

    /** Opens the menu with its corner at x, y within the window. */
    open(x, y)
    {
        if (this.isOpen())
            return;
        this.returnFocusTo = this.document.activeElement;
        this.menu.style.left = `${x}px`;
        this.menu.style.top = `${y}px`;
        this.menu.hidden = false;
        this.item.focus();
    }

    close()
    {
        if (!this.isOpen())
            return;
        this.menu.hidden = true;
        this.returnFocusTo?.focus?.();
    }

    closeUnlessFocused()
    {
        if (this.isOpen() && !this.menu.contains(this.document.activeElement))
            this.menu.hidden = true;
    }
}
