// The wizard's pages and the road of one update: pages 0 to 3 lead the user,
// leaving page 4 searches for the device, page 6 runs the transfer, page 7
// ends it. Each press of a button turns at most one page, and counts only if
// the button is shown and enabled when the press is handled.

const searchPage = 4;
const updatePage = 6;

export class Wizard
{
    constructor({ document, texts, pages, device, boxes, progressBar, messages })
    {
        this.document = document;
        this.texts = texts;
        this.pages = pages;
        this.device = device;
        this.boxes = boxes;
        this.progressBar = progressBar;
        this.messages = messages;
        this.lastPage = pages.length - 1;
        this.currentPage = -1;
        this.next = document.getElementById('next');
        this.previous = document.getElementById('previous');
        this.step = document.getElementById('step');
        this.pageText = document.getElementById('page-text');
        this.pageSection = document.getElementById('page');
        this.next.title = texts.window.nextTip;
        this.previous.title = texts.window.previousTip;
        this.previous.textContent = texts.window.previous;
        this.next.addEventListener('click', () => this.press(this.next));
        this.previous.addEventListener('click', () => this.press(this.previous));
        this.goToNextPage();
    }

    /** A press of Next or Previous, by click or key; ignored unless the button can be pressed now. */
    press(button)
    {
        if (!this.canPress(button))
            return;
        if (button === this.next)
            this.goToNextPage();
        else
            this.goToPreviousPage();
    }

    canPress(button)
    {
        return !button.hidden && !button.disabled && !this.boxes.isOpen();
    }

    goToNextPage()
    {
        if (this.currentPage === searchPage)
        {
            this.leaveSearchPage();
            return;
        }
        this.currentPage += 1;
        if (this.currentPage <= this.lastPage)
            this.showPage(this.currentPage);
        else
            this.finish();
    }

    goToPreviousPage()
    {
        this.currentPage = Math.max(0, this.currentPage - 1);
        if (this.currentPage === searchPage)
            this.device.release();
        this.showPage(this.currentPage);
    }

    async leaveSearchPage()
    {
        this.setBusy(true);
        const obstacle = await this.device.prepare();
        const found = obstacle === null && (await this.device.detect());
        this.setBusy(false);
        if (!found)
        {
            this.device.release();
            await this.boxes.showError(obstacle ? this.messages[obstacle] : this.texts.boxes.deviceNotFoundMessage);
            return;
        }
        this.currentPage = searchPage + 1;
        this.showPage(this.currentPage);
    }

    showPage(page)
    {
        this.currentPage = page;
        this.step.textContent = this.pages[page].title;
        this.pageText.textContent = this.pages[page].text;
        this.next.textContent = page === this.lastPage ? this.texts.window.finish : this.texts.window.next;
        this.next.hidden = page === updatePage;
        this.previous.hidden = page === 0 || page >= updatePage;
        if (page === updatePage)
        {
            this.progressBar.show();
            this.runTransfer();
        }
        else
        {
            this.progressBar.hide();
        }
        this.settleFocus();
    }

    async runTransfer()
    {
        this.setBusy(true);
        const succeeded = await this.device.transfer();
        this.device.release();
        this.setBusy(false);
        if (succeeded)
        {
            this.showPage(this.lastPage);
            return;
        }
        this.progressBar.hide();
        await this.boxes.showError(this.texts.boxes.transferErrorMessage);
        this.showPage(0);
    }

    /** Finish: the device's ports go and the page asks the browser to close it. */
    finish()
    {
        this.next.disabled = true;
        this.device.close();
        globalThis.close?.();
    }

    /** True while the wizard searches or transfers; neither button can be pressed then. */
    get busy()
    {
        return this.pageSection.getAttribute('aria-busy') === 'true';
    }

    setBusy(busy)
    {
        this.next.disabled = busy;
        this.previous.disabled = busy;
        this.pageSection.setAttribute('aria-busy', String(busy));
    }

    /** Keeps the keyboard on a button that can still be pressed, else gives it to Next or the page. */
    settleFocus(preferred = this.document.activeElement)
    {
        const usable = (element) => element && element.isConnected && !element.hidden && !element.disabled
            && element.getClientRects().length > 0;
        if ((preferred === this.next || preferred === this.previous) && usable(preferred))
            preferred.focus();
        else if (usable(this.next))
            this.next.focus();
        else
            this.pageSection.focus();
    }
}
